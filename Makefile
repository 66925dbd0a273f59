# Halvorn: two builds from one tree.
#   host  (clang, native): portable core, unit tests, fuzz targets, generators, benchmarks
#   win64 (MinGW-w64 x86_64): halvorn.exe, Win32 tests and end-to-end tests run under Wine
#   win32 (MinGW-w64 i686): compiled to keep the 32-bit build honest; not run
BUILD  ?= build
HOST   := $(BUILD)/host
WIN64  := $(BUILD)/win64
WIN32  := $(BUILD)/win32
JOBS   ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all bootstrap host win64 win32 test run fuzz perf soak clean

all: bootstrap host win64 win32

bootstrap:
	@bash scripts/bootstrap.sh

host: bootstrap
	@[ -f $(HOST)/CMakeCache.txt ] || cmake -S . -B $(HOST) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(HOST) -j $(JOBS)

win64: host
	@[ -f $(WIN64)/CMakeCache.txt ] || cmake -S . -B $(WIN64) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake -DHALVORN_TOOLS_DIR=$(CURDIR)/$(HOST)/tools >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

win32: host
	@[ -f $(WIN32)/CMakeCache.txt ] || cmake -S . -B $(WIN32) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DHALVORN_TOOLS_DIR=$(CURDIR)/$(HOST)/tools \
	    -DHALVORN_TESTS=OFF >/dev/null
	@cmake --build $(WIN32) -j $(JOBS) --target halvorn

# One ctest run over both builds, so the summary counts every label.
test: all
	@printf 'subdirs("host" "win64")\n' > $(BUILD)/CTestTestfile.cmake
	@cd $(BUILD) && ctest --output-on-failure -j 2 -L 'unit|wine|e2e' --timeout 600

run: bootstrap host win64
	@bash scripts/run.sh $(WIN64)

fuzz: host
	@bash scripts/fuzz.sh $(HOST) 120

perf: host win64
	@bash scripts/perf.sh $(BUILD)

# The endurance runs under Wine: 86,400 real ticks with every view open; the tick's pace with
# 200 idle processes (SOAK_PACE_MINUTES, 5); the program itself in real time, sampled from
# outside every minute (SOAK_MINUTES, 60). SOAK_PARTS="ticks pace real-time" picks parts.
soak: host win64
	@SOAK_MINUTES=$(SOAK_MINUTES) SOAK_PACE_MINUTES=$(SOAK_PACE_MINUTES) SOAK_PARTS="$(SOAK_PARTS)" \
	    bash scripts/soak.sh $(BUILD)

clean:
	rm -rf $(BUILD)
