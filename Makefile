# The two set-up commands: `make run` and `make test`. Both install missing system packages
# first (scripts/install-deps.sh), then build with CMake into build/ (and build-asan/).

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GENERATOR ?= Ninja
FUZZ_SECONDS ?= 10

.PHONY: all deps build build-asan run test test-release test-asan golden bench clean format \
  web serve-web test-web

all: build

deps:
	@scripts/install-deps.sh --check 2>/dev/null || scripts/install-deps.sh

build/CMakeCache.txt: | deps
	cmake -S . -B build -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release

build: deps build/CMakeCache.txt
	cmake --build build -j $(JOBS)

# Sanitizer build with clang, which also builds the libFuzzer targets and their smoke runs.
build-asan/CMakeCache.txt: | deps
	CXX=clang++ cmake -S . -B build-asan -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DVARDEL_SANITIZE=ON -DVARDEL_FUZZ=ON -DVARDEL_BENCH=OFF \
	  -DVARDEL_FUZZ_SECONDS=$(FUZZ_SECONDS)

build-asan: deps build-asan/CMakeCache.txt
	cmake --build build-asan -j $(JOBS)

# Plays the demo from build/, where the build generated data/. Options go in ARGS, e.g.
# `make run ARGS="--window"`; without a display only a headless run is possible.
run: build
	@case " $(ARGS) " in *" --headless "*|*" --help "*|*" --version "*) ;; *) \
	  if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."; \
	    echo "Play the demo without a window instead:  make run ARGS=--headless"; \
	    exit 1; \
	  fi;; esac
	cd build && ./vardel $(ARGS)

test-release: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

test: test-release test-asan test-web

# The demo as a static web page in build-web/ (index.html, vardel.js, vardel.wasm, vardel.data
# and the page's scripts), built with Emscripten from the same sources, with the data the
# native build generated. libopenmpt is compiled for the web once, into build-web/.build/.
# Debian's emscripten needs NODE_PATH to find Debian's JavaScript modules (acorn).
WEB_WORK := build-web/.build
EMSCRIPTEN_ENV := NODE_PATH=$(or $(NODE_PATH),/usr/share/nodejs)

web: build
	@$(EMSCRIPTEN_ENV) JOBS=$(JOBS) scripts/build-libopenmpt-web.sh $(WEB_WORK)/libopenmpt
	@test -f $(WEB_WORK)/cmake/CMakeCache.txt || $(EMSCRIPTEN_ENV) emcmake cmake -S . \
	  -B $(WEB_WORK)/cmake -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release \
	  -DVARDEL_OPENMPT_WEB=$(CURDIR)/$(WEB_WORK)/libopenmpt/install \
	  -DVARDEL_WEB_DATA=$(CURDIR)/build/data -DVARDEL_WEB_SITE=$(CURDIR)/build-web
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_WORK)/cmake -j $(JOBS)

# Serves build-web/ at http://127.0.0.1:8000/ until Ctrl+C.
serve-web: web
	python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web

# The page in headless Chromium: its check mode against build/vardel's headless hashes, and a
# screenshot of a part.
test-web: web
	tests/web/web-check.sh build/vardel build-web build/web-check

# Rewrites the golden record (tests/golden/frames.txt) from a headless run of build/vardel, after
# an intended change of the pictures, and keeps the frames' pictures in build/golden-cache/.
golden: build
	tests/golden/golden.sh write build/vardel build tests/golden/frames.txt
	@echo "The commit that rewrites tests/golden/frames.txt must say why the pictures changed."

# Renders every scene at a few times, as the demo's parts show them, into build/contact-sheet.png.
.PHONY: contact-sheet
contact-sheet: build
	build/contact-sheet build build/contact-sheet.png

bench: build
	@for b in build/bench/bench_*; do echo "== $$b"; $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-web
