#!/usr/bin/env bash
# Checks that every C++ file of the repository is laid out as .clang-format says; lists the files that
# are not. Fix them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || bash scripts/install-deps.sh
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror 2>/tmp/torvane-format.$$; then
  grep -oE '^[^:]+\.(cpp|h)' /tmp/torvane-format.$$ | sort -u | sed 's/^/check-format: not formatted: /' >&2
  rm -f /tmp/torvane-format.$$
  exit 1
fi
rm -f /tmp/torvane-format.$$
echo "check-format: every C++ file is formatted"
