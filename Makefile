# make play: build and start the game in a window.  make test: build and run every test.
# make fuzz: build the fuzz targets and run each for FUZZ_S seconds (default 60).
PRESET ?= release
BUILD := build/$(PRESET)
CMAKE_FLAGS := $(if $(CI),-DREEDSHOT_WERROR=ON,)

.PHONY: play test build deps configure bench install package soak clean

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

clean:
	rm -rf build
