# Orvanel: the two set-up commands (see README) and a few conveniences.
#   make demo   installs what is missing, builds, and speaks the sample sentences
#   make test   installs what is missing, builds with sanitizers, and runs every test
#   make package  builds the Debian packages
.PHONY: demo test build bench fuzz format clean package

JOBS ?= $(shell nproc)

demo:
	scripts/install-deps.sh build
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCH=OFF
	cmake --build build/release -j $(JOBS)
	scripts/demo.sh build/release

test:
	scripts/run-tests.sh

build:
	scripts/install-deps.sh build
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS)

# The Debian packages orvanel and speech-dispatcher-orvanel, in build/release.
package:
	scripts/install-deps.sh build
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS)
	cd build/release && cpack -G DEB

bench:
	scripts/install-deps.sh bench
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_APP=OFF
	cmake --build build/bench -j $(JOBS)
	scripts/run-bench.sh build/bench
	bench/streaming.sh build/bench/cli/orvanel-say

fuzz:
	cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORVANEL_BUILD_FUZZ=ON -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCH=OFF -DORVANEL_BUILD_APP=OFF
	cmake --build build/fuzz -j $(JOBS) --target text_to_phonetic_fuzzer text_pieces_fuzzer prosody_fuzzer \
	  reading_fuzzer ssml_parser_fuzzer protocol_reader_fuzzer
	@echo "Run: mkdir -p build/fuzz/work && build/fuzz/fuzz/text_to_phonetic_fuzzer -max_total_time=600 build/fuzz/work fuzz/corpus/text_to_phonetic"
	@echo "  (and likewise reading_fuzzer, text_pieces_fuzzer, ssml_parser_fuzzer and protocol_reader_fuzzer with their fuzz/corpus/ folders)"

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
