# Set-up, build and test in one command each. Everything is installed from Debian's packages.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: run test build configure deps brindle package screenshots clean

deps:
	scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Starts on the demo library the build writes, with its first song playing.
run: build
	$(BUILD_DIR)/player/app/sonavel "$(BUILD_DIR)/demo/01 さくらさくら.mp3"

brindle: build
	$(BUILD_DIR)/renamer/brindle

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

package: build
	cd $(BUILD_DIR) && cpack

# The README's screenshots, taken again by the window tests in both languages.
screenshots: build
	cmake --build $(BUILD_DIR) --target readme_screenshots

clean:
	rm -rf $(BUILD_DIR)
