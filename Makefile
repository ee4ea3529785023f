# The project's commands. Each installs what a fresh Debian 12 machine lacks first (as root).
.PHONY: deps build test fuzz run bench soak dist clean format

deps:
	@tools/install-deps.sh

build: deps
	@tools/build.sh

test: deps
	@tools/run-tests.sh

fuzz: deps
	@tools/fuzz.sh

run: deps
	@tools/run.sh

bench: deps
	@tools/bench.sh

clean:
	rm -rf "$${LEXORIA_BUILD:-build}"

soak: deps
	@tools/soak.sh

dist: deps
	@tools/dist.sh

# Applies .clang-format to the C++ sources under src, tools and tests (the fuzz corpora are data).
format: deps
	@git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' 'tests/*.h' | \
		grep -v -e '/corpus/' -e '/regression/' | xargs clang-format -i --style=file
