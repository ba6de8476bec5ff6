#!/usr/bin/env bash
# demo.sh [qmxhost options]: installs what the build needs, builds everything, and runs the module
# in the host shell qmxhost in the embedded demo environment (offscreen unless a display is
# available), printing the controller's notifications and the form's result.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
dir=$("$root/scripts/build.sh" -DQMX_BUILD_FUZZ=OFF | tail -n 1)
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
# The demo environment (registry, dispatch center settings, company database), made afresh.
if [ -x "$dir/bin/qmx-make-demo" ]; then
  demo=${QMX_DEMO_DIR:-$dir/demo}
  "$dir/bin/qmx-make-demo" --replace "$demo" >/dev/null
  export QMX_REGISTRY=$demo/registry.reg
fi
if [ -x "$dir/bin/qmxhost" ] && [ -f "$dir/bin/KLNB07C.so" ]; then
  exec "$dir/bin/qmxhost" "$@" "$dir/bin/KLNB07C.so"
fi
echo "Built: the SDK (Variant, automation, code pages, controller interface), the platform layer"
echo "(registry, INI files, libraries, system information, paths, class registry) and the toolkit."
echo "The host shell qmxhost and the module are not built yet; run scripts/test.sh for the tests."
