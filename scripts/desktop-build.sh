# Sourced by run-gui and screenshot-window: installs what the 64-bit desktop tool needs, builds it
# into build/run-gui and sets $desktop_exe; exits with a message when the build fails. With
# VELTRIN_DESKTOP_EXE set, that executable is used as it is (for example build/win64's).
. "$root/scripts/deps.sh"
GUI_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth fonts-wqy-zenhei)
ensure_packages "${GUI_PACKAGES[@]}" || { echo "installing packages failed" >&2; exit 1; }
desktop_build="$root/build/run-gui"
mkdir -p "$root/build"
[ -n "${VELTRIN_DESKTOP_EXE:-}" ] || { cmake -S "$root" -B "$desktop_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRIN_TESTS=OFF \
    -DVELTRIN_BENCHMARKS=OFF -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" \
    >"$root/build/run-gui.log" 2>&1 &&
  cmake --build "$desktop_build" --target veltrin_desktop >>"$root/build/run-gui.log" 2>&1; } || {
  tail -n 30 "$root/build/run-gui.log"; echo "the desktop tool's build failed" >&2; exit 1; }
desktop_exe=${VELTRIN_DESKTOP_EXE:-$desktop_build/desktop/veltrin.exe}
. "$root/scripts/wine-env.sh"
use_wine 64  # the desktop tool is built 64-bit: its loader and prefix

# windows_path PATH: an absolute Linux path as Wine sees it through drive Z:.
windows_path() {
  local path
  path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  printf 'Z:%s' "${path//\//\\}"
}
