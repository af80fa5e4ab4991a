// The demo's program in a browser page. The page's script calls main with the page's query
// string once the data is in and, unless muted or checking, after the click that lets the page
// play sound.

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "demo/DemoData.h"
#include "web/CheckRun.h"
#include "web/LiveDemo.h"
#include "web/PageCalls.h"
#include "web/PageOptions.h"

namespace vardel {

namespace {

// The packaged data sits in /data of the page's file system.
const std::filesystem::path dataRoot = "/";

// Everything the page runs, for as long as the page lives: the loaded data and the check run
// or the showing of the demo.
class WebPage {
public:
    explicit WebPage(const PageOptions& options) : options(options) {}

    bool begin() {
        std::string reason;
        if (!load(reason)) {
            return failed(reason);
        }
        if (options.checkFrames > 0) {
            check = std::make_unique<CheckRun>(*data, options.checkFrames);
            return check->start(reason) || failed(reason);
        }
        demo = std::make_unique<LiveDemo>(*data, options, this);
        return demo->start(reason) || failed(reason);
    }

    // After the end: the demo again from the start (or the part asked for), on fresh data,
    // since a showing changes its scenes' lights and mappings.
    void playAgain() {
        demo.reset();
        data.reset();
        begin();
    }

private:
    bool load(std::string& reason) {
        page::status("loading the scenes");
        data = std::make_unique<DemoData>();
        return loadDemoTextures(*data, dataRoot, &reason) &&
               loadDemoScenes(*data, dataRoot, &reason);
    }

    static bool failed(const std::string& reason) {
        std::fprintf(stderr, "vardel: %s\n", reason.c_str());
        page::fail(reason.c_str());
        return false;
    }

    PageOptions options;
    std::unique_ptr<DemoData> data;
    std::unique_ptr<CheckRun> check;
    std::unique_ptr<LiveDemo> demo;
};

} // namespace

} // namespace vardel

extern "C" {

EMSCRIPTEN_KEEPALIVE void vardel_play_again(void* page) {
    static_cast<vardel::WebPage*>(page)->playAgain();
}

// What is wrong with a query string, for the page to say before the click that starts the
// demo: the reason, cut to fit `out` (`size` bytes with the terminating zero), or "" when
// nothing is.
EMSCRIPTEN_KEEPALIVE void vardel_query_problem(const char* query, char* out, int size) {
    vardel::PageOptions options;
    std::string reason;
    if (!vardel::parsePageQuery(query, options, reason)) {
        reason = "index.html" + std::string(query) + ": " + reason;
    }
    std::snprintf(out, static_cast<std::size_t>(size), "%s", reason.c_str());
}

} // extern "C"

int main(int argc, char** argv) {
    const std::string query = argc > 1 ? argv[1] : "";
    vardel::PageOptions options;
    std::string reason;
    if (!vardel::parsePageQuery(query, options, reason)) {
        const std::string text = "index.html" + query + ": " + reason;
        std::fprintf(stderr, "vardel: %s\n", text.c_str());
        vardel::page::fail(text.c_str());
        return 2;
    }
    // Lives as long as the page: the animation frames and the page's calls reach it through
    // the pointer they were given.
    auto* page = new vardel::WebPage(options);
    return page->begin() ? 0 : 1;
}
