#include "web/PageCalls.h"

#include <emscripten.h>

namespace vardel::page {

namespace {
// clang-format off
EM_JS(void, jsStatus, (const char* text), { Module.vardelPage.status(UTF8ToString(text)); });
EM_JS(void, jsFail, (const char* text), { Module.vardelPage.fail(UTF8ToString(text)); });
EM_JS(void, jsShowFrame, (const void* rgba, int width, int height), {
    Module.vardelPage.showFrame(rgba, width, height);
});
EM_JS(void, jsPartShown, (int part), { Module.vardelPage.partShown(part); });
EM_JS(void, jsEnded, (int quit, void* context), { Module.vardelPage.ended(quit !== 0, context); });
EM_JS(void, jsCheckDone, (const char* lines, double fps), {
    Module.vardelPage.checkDone(UTF8ToString(lines), fps);
});
// clang-format on
} // namespace

void status(const char* text) {
    jsStatus(text);
}

void fail(const char* text) {
    jsFail(text);
}

void showFrame(const std::uint32_t* rgba, int width, int height) {
    jsShowFrame(rgba, width, height);
}

void partShown(int part) {
    jsPartShown(part);
}

void ended(bool quit, void* context) {
    jsEnded(quit ? 1 : 0, context);
}

void checkDone(const char* hashLines, double framesPerSecond) {
    jsCheckDone(hashLines, framesPerSecond);
}

double nowMs() {
    return emscripten_get_now();
}

} // namespace vardel::page
