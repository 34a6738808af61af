# The two commands of the README: `make run` and `make test`.
.PHONY: run test build setup bench clean sanitize

BUILD := build/native
INSTALL := $(BUILD)/sample-installation

setup:
	@bash scripts/setup.sh

build: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

# Runs the program in the terminal on a copy of the sample installation, so
# that backups and registry changes never touch data/sample. The copy is kept
# between runs; delete it to start afresh.
run: build
	@[ -d $(INSTALL) ] || cp -r data/sample $(INSTALL)
	@cp $(BUILD)/tunewright $(INSTALL)/tunewright
	@cd $(INSTALL) && ./tunewright

test: build
	@ctest --preset native

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: setup
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize

bench: build
	@for b in $(BUILD)/*_bench; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build
