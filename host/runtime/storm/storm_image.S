// A stand-in for the host's storm.dll: its read-only code section, which the
// link starts at image offset 0x3000 (after the small export and import
// tables), lays out at their exact offsets from the image base the eight
// signature bytes the plug-in checks and recognisable code bytes in the ranges
// it overwrites. Unused bytes are int3 (0xCC). Variants:
//   STORM_WRONG_SIGNATURE  one signature byte differs (0x2D for 0x2C)
//   STORM_TOO_SMALL        the code ends just after the signature, so the image
//                          ends (offset 0x11000) before the last ranges
#define SECTION_OFFSET 0x3000
#define AT(offset) .org (offset) - SECTION_OFFSET, 0xCC

#ifdef STORM_WRONG_SIGNATURE
#define SIGNATURE_BYTE_5 0x2D
#else
#define SIGNATURE_BYTE_5 0x2C
#endif

    .text
    .globl _storm_entry
_storm_entry:                  // DllMain: accept every reason
    movl $1, %eax
    ret $12

AT(0xf182)
    .byte 0x8B, 0x44                              // 0xf182: range, 2 bytes
    .byte 0x3C                                    // 0xf184: kept
    .byte 0x8B, 0x4C, 0x24, 0x04, 0x89, 0x0D, 0xA4, 0x6B, 0x4D, 0x01  // 0xf185: range, 10 bytes
    .byte 0x3D                                    // 0xf18f: after the range
AT(0xf2f4)
    .byte 0x0F, 0xB7, 0x45, 0x08, 0x66, 0x89, 0x41, 0x02  // range, 8 bytes
AT(0x10000)
    .byte 0xC2, 0x8B, 0x54, 0x24, SIGNATURE_BYTE_5, 0xD1, 0xF8, 0x8D  // signature

#ifndef STORM_TOO_SMALL
AT(0x11660)
    .byte 0x6A, 0x01, 0xFF, 0xD0                  // range, 4 bytes
AT(0x12af7)
    .byte 0x33, 0xC0                              // 0x12af7: range, 2 bytes
    .byte 0x3E                                    // 0x12af9: kept
    .byte 0x8B, 0x54, 0x24, 0x2C, 0xD1, 0xF8      // 0x12afa: range, 6 bytes
AT(0x12b59)
    .byte 0x85, 0xC0, 0x74, 0x07                  // range, 4 bytes
AT(0x13000)
#endif
