# The project's commands. Each installs what a fresh Debian 12 machine lacks first (as root).
.PHONY: deps build test fuzz run bench soak dist clean

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
	rm -rf build

soak: deps
	@tools/soak.sh

dist: deps
	@tools/dist.sh
