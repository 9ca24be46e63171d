#!/usr/bin/env bash
# Fails when a C or C++ file of the tree is not laid out as .clang-format says.
# CI runs it with the clang-format the test packages install; another version may
# lay out a few lines differently, so the test command itself does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
