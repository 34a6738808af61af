# The two commands of the README: `make run` and `make test`.
.PHONY: run test build setup bench clean sanitize fuzz fuzz-build fuzz-long windows windows-setup windows-package

BUILD := build/native
INSTALL := $(BUILD)/sample-installation

setup:
	@bash scripts/setup.sh

build: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

# Runs the program in the terminal on a copy of the sample installation, so
# that backups and registry changes never touch data/sample. The copy is kept
# between runs; delete it to start afresh. The importer and the command line
# go beside the program, so that they find the same store, and so does the
# help the build made (help.chm, and help.txt that the terminal shows). Only
# these are built: the tests and benchmarks wait for `make test`.
RUN_TARGETS := tunewright tunewright-import tunewright-cli help_files

run: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native --target $(RUN_TARGETS)
	@[ -d $(INSTALL) ] || cp -r data/sample $(INSTALL)
	@cp $(BUILD)/tunewright $(BUILD)/tunewright-import $(BUILD)/tunewright-cli $(BUILD)/help.chm $(BUILD)/help.txt $(BUILD)/help1031.chm $(BUILD)/help1031.txt $(INSTALL)/
	@cd $(INSTALL) && ./tunewright

# The native suite, then the short fuzz runs (setup installs Clang when it is
# missing), then the Windows build under Wine where its tools are found.
test: build
	@ctest --preset native
	@$(MAKE) --no-print-directory fuzz
	@if $(WINDOWS_TOOLS_PRESENT); then \
		$(MAKE) --no-print-directory windows; \
	else \
		echo "windows: mingw-w64, Wine, Xvfb or xdotool not found, the Windows build is skipped (make windows-setup installs them)"; \
	fi

WINDOWS_TOOLS_PRESENT := command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 && command -v wine >/dev/null 2>&1 \
	&& command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1

windows-setup:
	@bash scripts/setup-windows.sh

# The Windows program and its tests, cross-built with mingw-w64 and run under
# Wine.
windows:
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows
	@ctest --preset windows

# build/windows/tunewright-windows.zip: tunewright.exe in the sample
# installation.
windows-package:
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target package

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: setup
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize

# clang++, else a versioned clang++-N; empty when there is none.
CLANGXX = $(shell bash scripts/clangxx.sh)

fuzz-build: setup
	@cmake --preset fuzz -DCMAKE_CXX_COMPILER="$(CLANGXX)" >/dev/null
	@cmake --build --preset fuzz

# A few seconds per fuzz target, as CTest tests; skipped without Clang.
fuzz:
	@if [ -n "$(CLANGXX)" ]; then \
		$(MAKE) --no-print-directory fuzz-build && ctest --preset fuzz; \
	else \
		echo "fuzz: no clang++ found, the short fuzz runs are skipped"; \
	fi

# FUZZ_SECONDS per target, one after another; findings go to
# build/fuzz/findings/<target>/.
FUZZ_SECONDS ?= 600
fuzz-long: fuzz-build
	@bash fuzz/run_all.sh $(FUZZ_SECONDS) build/fuzz

# Each benchmark program that compares its figures with baselines ends with
# its table of medians and ratios. Only the programs of bench/*.cpp run, not
# ones left in the build folder from before.
bench: build
	@for source in bench/*.cpp; do $(BUILD)/$$(basename $$source .cpp) || exit 1; done

clean:
	rm -rf build
