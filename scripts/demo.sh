#!/usr/bin/env bash
# demo.sh: installs what the build needs, builds everything, and runs the module's main job in the
# embedded demo environment (offscreen unless a display is available).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
dir=$("$root/scripts/build.sh" -DQMX_BUILD_FUZZ=OFF | tail -n 1)
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
if [ -x "$dir/bin/qmxhost" ]; then
  exec "$dir/bin/qmxhost" "$@"
fi
echo "Built: the SDK (Variant, automation, code pages, controller interface), the platform layer"
echo "(registry, INI files, libraries, system information, paths, class registry) and the toolkit."
echo "The host shell qmxhost and the module are not built yet; run scripts/test.sh for the tests."
