#!/bin/sh
# Installs what is missing, checks that no folder includes a higher layer, builds everything
# with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test (window tests on a
# private Xvfb).
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/check-layers.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DPETPARK_SANITIZE=ON -DPETPARK_TESTS=ON
cmake --build build-test -j "$(nproc)"
cd build-test
exec env -u DISPLAY ../tests/with-display.sh \
    ctest --output-on-failure -j "$(nproc)" --timeout 600
