# Sourced by scripts/test: where the kernel refuses 32-bit Linux programs, hands them to qemu-i386
# through binfmt_misc so that the 32-bit Wine loader starts (needs root).
#
# The emulator must be qemu 10 or later. Debian 12's own qemu-i386 (7.2) hands the guest's page
# faults to its signal handler with the trap number -1, so Wine cannot tell a page fault from an
# illegal instruction: everything Wine builds on page faults (write watches, write-copy pages, a
# fault caught while a system call reads the caller's memory) then ends the process, at varying
# points. Debian 12 takes qemu-user 10 from its backports.

# qemu_major: the major version of the installed qemu-i386, or 0.
qemu_major() {
  local version
  version=$(qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
  echo "${version:-0}"
}

# debian_source_entry CODENAME: prints the machine's own apt source for the release's main
# component as a deb822 stanza (as written in a .sources file, or made from the line of a .list
# file), so that the backports come from the same server with the same signing key. Fails when
# apt knows no such source.
debian_source_entry() {
  local codename=$1 found file number
  found=$(apt-get indextargets --format '$(CODENAME) $(ORIGIN) $(COMPONENT) $(TARGET_OF) $(SOURCESENTRY)' \
    2>/dev/null | awk -v c="$codename" '$1 == c && $2 == "Debian" && $3 == "main" && $4 == "deb" {
      print $5; exit }')
  [ -n "$found" ] || return 1
  file=${found%:*} number=${found##*:}
  [ -r "$file" ] || return 1
  case "$file" in
    *.sources)
      # The NUMBER-th stanza that has Types (comments and blank lines apart).
      awk -v n="$number" '
        BEGIN { stanza = 0 }
        /^[[:space:]]*$/ { if (seen) { stanza++; seen = 0 } next }
        /^#/ { next }
        { if ($1 == "Types:") seen = 1; lines[stanza] = lines[stanza] $0 "\n" }
        END { printf "%s", lines[n - 1] }' "$file"
      ;;
    *)
      # Line NUMBER: deb [options] URI SUITE COMPONENT..., the options' signed-by kept.
      sed -n "${number}p" "$file" | awk '{
        signed = ""
        if ($2 ~ /^\[/) {
          for (i = 2; i <= NF; i++) {
            if ($i ~ /signed-by=/) { signed = $i; sub(/.*signed-by=/, "", signed); sub(/\]$/, "", signed) }
            if ($i ~ /\]$/) { uri = $(i + 1); break }
          }
        } else uri = $2
        print "Types: deb"; print "URIs: " uri; print "Suites: -"; print "Components: main"
        if (signed != "") print "Signed-By: " signed }'
      ;;
  esac
}

# ensure_recent_qemu: installs qemu-user 10 or later, from the release's backports when its own
# is older; they come from the server and with the key of the release's own configured source.
ensure_recent_qemu() {
  [ "$(qemu_major)" -ge 10 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get install -y -qq --no-install-recommends qemu-user >/dev/null 2>&1
  [ "$(qemu_major)" -ge 10 ] && return 0
  local codename entry
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  $sudo apt-get update -qq >/dev/null 2>&1
  entry=$(debian_source_entry "$codename") ||
    { echo "scripts/test: no Debian source for $codename is configured" >&2; return 1; }
  printf '%s\n' "$entry" |
    sed -e "s/^Suites:.*/Suites: $codename-backports/" -e "s/^Components:.*/Components: main/" |
    $sudo tee /etc/apt/sources.list.d/veltrin-backports.sources >/dev/null
  echo "installing: qemu-user from $codename-backports"
  $sudo apt-get update -qq >/dev/null 2>&1
  $sudo apt-get install -y -qq --no-install-recommends -t "$codename-backports" qemu-user \
    >/dev/null 2>&1
  [ "$(qemu_major)" -ge 10 ]
}

# ensure_i386_emulation: does nothing where 32-bit programs run natively; otherwise installs a
# recent qemu-user, mounts binfmt_misc when needed and registers qemu-i386 with the F flag (the
# interpreter is opened now, so it works in every mount namespace). An earlier registration is
# replaced, since it may hold an older emulator open. Fails when neither way works.
ensure_i386_emulation() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 && ! i386_emulator_registered && return 0
  ensure_recent_qemu || { echo "scripts/test: qemu-user 10 or later could not be installed" >&2; return 1; }
  local misc=/proc/sys/fs/binfmt_misc sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  [ -e "$misc/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$misc" || return 1
  [ -e "$misc/qemu-i386" ] && { echo -1 | $sudo tee "$misc/qemu-i386" >/dev/null; }
  # ELF, 32-bit, little-endian, executable or shared object, machine i386 (as qemu registers it).
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  local qemu
  qemu=$(command -v qemu-i386) || return 1
  echo ":qemu-i386:M::$magic:$mask:$qemu:F" | $sudo tee "$misc/register" >/dev/null
  /usr/lib/wine/wine --version >/dev/null 2>&1
}
