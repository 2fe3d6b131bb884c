# The two entry points: `make run` starts the program, `make test` builds and runs every test.
# Both install what is missing (Debian 12) and configure the build on first use.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
RUN_DIR ?= run

.PHONY: run demo test deps configure build sanitize format

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The program looks for Vemblor.ini and the manual in the directory it was started in.
run: build
	mkdir -p $(RUN_DIR)
	ln -sf $(abspath $(BUILD))/vemblor_manual.pdf $(RUN_DIR)/vemblor_manual.pdf
	cd $(RUN_DIR) && $(abspath $(BUILD))/app/vemblor $(RUN_ARGS)

# The same with the simulated handset, holding a sample book, behind the port in use.
demo:
	$(MAKE) run RUN_ARGS=--demo

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS=-DVEMBLOR_SANITIZE=ON

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
