# The stand-in host's fixed memory: one writable, executable, zero-filled
# section that the link places at 0x401000 so that it spans up to 0x4e0000.
# Every host global and patched code address lies inside it, at its real
# address, as in the real host's image.
    .section .hostimg,"bwx"
    .globl _host_image
_host_image:
    .space 0xDF000
