# 32-bit programs on a kernel that runs none (32-bit emulation switched off: every i386 ELF,
# Wine's 32-bit loader among them, fails with "Exec format error"). There, and only there,
# Debian's user-mode emulator is installed and i386 ELF is registered with binfmt_misc, so that
# the kernel hands every such program to /usr/bin/qemu-i386-static ("F": the emulator is opened
# once at registration and serves every process). The registration lasts until reboot; remove
# it with: echo -1 > /proc/sys/fs/binfmt_misc/qemu-i386
#
# Wine's 32-bit loader reserves the whole 32-bit address space at start-up, in 64 KB steps
# wherever a large block is refused. With the emulator's default 4 GB guest space, whose top
# holds the stack and libraries, each of those tens of thousands of requests searches the space
# page by page: a minute or more per process. With QEMU_RESERVED_VA the guest space ends just
# above Windows' shared user page (0x7FFE0000, the 2 GB a 32-bit program has), each request
# finds room at once, and a process starts in about a second.
#
# MORVESSA_I386=emulate registers the emulator even where the kernel runs 32-bit programs, to try
# the emulated path there; that registration is removed again by i386_emulation_stop.
I386_BINFMT=/proc/sys/fs/binfmt_misc
I386_ENTRY=$I386_BINFMT/qemu-i386
I386_RESERVED_VA=0x7fff0000
I386_EMULATED=0
I386_REGISTERED_HERE=0

i386_runs() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

i386_registered() {
  [ -f "$I386_ENTRY" ] || return 1
  head -1 "$I386_ENTRY" | grep -qx enabled || echo 1 | as_root tee "$I386_ENTRY" >/dev/null
}

# 0 when 32-bit programs run here afterwards, natively or through the emulator.
i386_emulation_ensure() {
  local forced=0
  [ "${MORVESSA_I386:-}" = emulate ] && forced=1
  if i386_registered; then
    I386_EMULATED=1
  elif [ $forced -eq 0 ] && i386_runs; then
    return 0
  else
    if [ $forced -eq 1 ]; then
      echo "MORVESSA_I386=emulate: registering Debian's qemu-i386-static for i386 ELF with binfmt_misc until the end"
    else
      echo "This kernel runs no 32-bit programs: registering Debian's qemu-i386-static for i386 ELF with binfmt_misc"
    fi
    if ! installed qemu-user-static; then
      DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null ||
        { echo "could not install qemu-user-static" >&2; return 1; }
    fi
    [ -f "$I386_BINFMT/register" ] || as_root mount -t binfmt_misc binfmt_misc "$I386_BINFMT" ||
      { echo "binfmt_misc is not available here, so no 32-bit program can run" >&2; return 1; }
    # Magic and mask: an ELF of class 32, little-endian, version 1, an executable or shared
    # object (type 2 or 3), machine 3 (i386).
    printf '%s\n' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      as_root tee "$I386_BINFMT/register" >/dev/null || { echo "could not register i386 ELF with binfmt_misc" >&2; return 1; }
    I386_EMULATED=1
    [ $forced -eq 1 ] && I386_REGISTERED_HERE=1
  fi
  # Read by each emulated process; the tests read I386_EMULATED.
  export QEMU_RESERVED_VA=$I386_RESERVED_VA I386_EMULATED
  i386_runs || { echo "32-bit programs still do not run through the emulator" >&2; return 1; }
}

# Said wherever figures or times are printed: under the emulator they measure the emulator.
i386_emulation_notice() {
  [ "$I386_EMULATED" -eq 1 ] || return 0
  echo "NOTE: 32-bit programs run here through qemu-i386-static (user-mode emulation): their times are the"
  echo "      emulator's, not performance figures."
}

# Removes a registration that only MORVESSA_I386=emulate asked for.
i386_emulation_stop() {
  [ "$I386_REGISTERED_HERE" -eq 1 ] || return 0
  echo -1 | as_root tee "$I386_ENTRY" >/dev/null
  I386_REGISTERED_HERE=0
}
