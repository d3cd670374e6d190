# Sourced by scripts/test and scripts/run: installs the Debian packages a command needs, once.
# ensure_packages PKG...: installs those that are missing, quietly; does nothing when all are there.

installed() {
  dpkg-query -W -f='${db:Status-Status}\n' "$1" 2>/dev/null | grep -qx installed
}

ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do installed "$pkg" || missing+=("$pkg"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
     ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >/dev/null
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

NATIVE_PACKAGES=(cmake ninja-build g++ libcurl4-openssl-dev zlib1g-dev)
# scripts/package and its checks: the installer compiler, the Debian package tools, zip tools.
PACKAGE_PACKAGES=(nsis dpkg-dev binutils lintian python3 unzip git g++-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix)
TEST_PACKAGES=("${NATIVE_PACKAGES[@]}" googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpcre2-dev python3 clang-format git g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  libz-mingw-w64-dev wine wine64 wine32:i386 xvfb xauth fonts-wqy-zenhei "${PACKAGE_PACKAGES[@]}")
# The fuzzers need clang with libFuzzer; scripts/test uses them only where they are there.
FUZZ_PACKAGES=(clang libpcre2-dev)

# fuzzer_available: true when clang can build and link a libFuzzer target here.
fuzzer_available() {
  command -v clang++ >/dev/null 2>&1 || return 1
  local dir
  dir=$(mktemp -d) || return 1
  printf '%s\n' '#include <cstdint>' '#include <cstddef>' \
    'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' >"$dir/probe.cpp"
  clang++ -fsanitize=fuzzer,address "$dir/probe.cpp" -o "$dir/probe" >/dev/null 2>&1
  local status=$?
  rm -rf "$dir"
  return $status
}
