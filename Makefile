# The two commands a newcomer types on a fresh Debian machine:
#   make run    build the Windows program and start it under Wine
#   make test   run every test (native, under Wine, and a short fuzz run)
.PHONY: run test dist deps clean

run:
	scripts/run.sh

test:
	scripts/test.sh

dist:
	scripts/dist.sh

deps:
	scripts/deps.sh

clean:
	rm -rf build
