# make play: build and start the game in a window.  make test: build and run every test.
# make fuzz: build the fuzz targets and run each for FUZZ_S seconds (default 60).
PRESET ?= release
BUILD := build/$(PRESET)
CMAKE_FLAGS := $(if $(CI),-DREEDSHOT_WERROR=ON,)

.PHONY: play test build deps configure bench install package soak fuzz clean web web-serve web-test web-deps

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

play: build
	@bash scripts/play.sh $(BUILD)/app/reedshot $(ARGS)

test: build
	@ctest --preset $(PRESET)
# The browser test once, with the optimised build (the sanitizer pass has no wasm of its own).
ifeq ($(PRESET),release)
	@$(MAKE) --no-print-directory web-test
endif

bench: build
	@$(BUILD)/bench/reedshot_bench
	@dir=$$(mktemp -d) && REEDSHOT_DATA_DIR=$$dir $(BUILD)/app/reedshot --headless --hunt \
		--script bench/hunt_timedemo.txt --timedemo; rm -rf $$dir

# Ten simulated hours of random input under AddressSanitizer and UBSan.
soak:
	@$(MAKE) --no-print-directory build PRESET=asan
	@bash tests/soak/soak.sh build/asan/app/reedshot build/asan/tests/soak/store_check $${SEED:-1} 10

# make install PREFIX=/opt/reedshot (default /usr/local; DESTDIR is honoured).
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, in build/<preset>/.
package: build
	@cd $(BUILD) && cpack

fuzz: deps
	@bash scripts/fuzz.sh

# The browser build: build/web/ holds the page, the .js and the .wasm. The
# asset builder comes from the native release build; SQLite's source and the
# test's browser driver from web/package-lock.json.
WEB_OBJ := build/web-obj
ASSETGEN := $(CURDIR)/build/release/tools/assetgen/assetgen
# Debian's emscripten finds its JavaScript packages there.
export NODE_PATH ?= /usr/share/nodejs

web-deps:
	@bash scripts/install-deps.sh web
	@cd web && if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then \
	  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund; fi

web: web-deps
	@cmake --preset release $(CMAKE_FLAGS) >/dev/null
	@cmake --build --preset release --target assetgen
	@emcmake cmake -S web -B $(WEB_OBJ) -G Ninja -DREEDSHOT_ASSETGEN=$(ASSETGEN) >/dev/null
	@cmake --build $(WEB_OBJ) -j2
	@echo "The browser build is in build/web/ (make web-serve serves it)"

web-serve: web
	@node web/serve.mjs build/web $(or $(PORT),8080)

# Skipped, saying why, only where the browser's packages cannot be installed at all.
web-test:
	@if bash scripts/install-deps.sh web; then \
	  $(MAKE) --no-print-directory web && node --test --test-concurrency=1 web/*.test.mjs; \
	else \
	  echo "SKIPPED the browser test: emscripten and chromium could not be installed here"; \
	fi

clean:
	rm -rf build
