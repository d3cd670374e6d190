# Sourced by scripts/test: where the kernel refuses 32-bit Linux programs, hands them to qemu-i386
# through binfmt_misc so that the 32-bit Wine loader starts (needs root; qemu-user installed).
# ensure_i386_emulation: does nothing where 32-bit programs run natively or qemu-i386 is already
# registered; mounts binfmt_misc when needed and registers qemu-i386 with the F flag (the
# interpreter is opened now, so it works in every mount namespace). Fails when neither works.
ensure_i386_emulation() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
  local misc=/proc/sys/fs/binfmt_misc sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  [ -e "$misc/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$misc" || return 1
  if [ -e "$misc/qemu-i386" ]; then
    echo 1 | $sudo tee "$misc/qemu-i386" >/dev/null
  else
    # ELF, 32-bit, little-endian, executable or shared object, machine i386 (as qemu registers it).
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" | $sudo tee "$misc/register" >/dev/null
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1
}
