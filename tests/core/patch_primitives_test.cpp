// The three patch primitives on memory of the test process with known page
// protections: the host image at 0x401000 (writable here) and pages of our own.
#include <gtest/gtest.h>

#include <string.h>

#include "patching/patch_primitives.h"
#include "tests/support/code_bytes.h"

namespace {

const SIZE_T PAGE = 0x1000;

void write_call(uintptr_t site, uint32_t displacement) {
    at(site)[0] = 0xE8;
    memcpy(at(site + 1), &displacement, sizeof displacement);
}

DWORD protection_of(uintptr_t address) {
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(at(address), &info, sizeof info);
    return info.Protect;
}

// Two committed pages filled with 0x55, then given a protection.
class Pages {
public:
    explicit Pages(DWORD protection) {
        base_ = static_cast<uint8_t*>(
            VirtualAlloc(NULL, 2 * PAGE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        memset(base_, 0x55, 2 * PAGE);
        DWORD previous;
        VirtualProtect(base_, 2 * PAGE, protection, &previous);
    }
    ~Pages() { VirtualFree(base_, 0, MEM_RELEASE); }
    uintptr_t address(SIZE_T offset) const { return reinterpret_cast<uintptr_t>(base_) + offset; }
    int bytes_equal_to(uint8_t value) const {
        int count = 0;
        for (SIZE_T i = 0; i < 2 * PAGE; ++i)
            count += base_[i] == value;
        return count;
    }

private:
    uint8_t* base_;
};

TEST(RedirectCall, WorkedExampleInTheHostImage) {
    write_call(0x00401000, 0x00000100);
    EXPECT_EQ(0x00401105u, redirect_call(0x00401000, 0x10001000));
    EXPECT_EQ(0xE8, *at(0x00401000));
    EXPECT_EQ(0x0FBFFFFBu, read32(0x00401001));
}

TEST(RedirectCall, TargetBelowTheSiteGivesANegativeDisplacement) {
    write_call(0x00402000, 0xFFFFFF00);  // the old call went backwards too
    EXPECT_EQ(0x00401F05u, redirect_call(0x00402000, 0x00401800));
    EXPECT_EQ(static_cast<uint32_t>(0x00401800 - 0x00402005), read32(0x00402001));
    EXPECT_EQ(0xFFFFF7FBu, read32(0x00402001));
}

TEST(RedirectCall, WritesTheOpcodeAndRestoresExecuteRead) {
    Pages pages(PAGE_EXECUTE_READ);
    uintptr_t site = pages.address(PAGE - 2);  // the instruction spans both pages
    uintptr_t target = site + 0x1234;
    EXPECT_EQ(site + 5 + 0x55555555u, redirect_call(site, target));
    EXPECT_EQ(0xE8, *at(site));
    EXPECT_EQ(0x1234u - 5, read32(site + 1));
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protection_of(pages.address(0)));
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protection_of(pages.address(PAGE)));
}

TEST(ReplacePointer, ReturnsThePreviousValueAndKeepsTheProtection) {
    Pages pages(PAGE_READONLY);
    uintptr_t slot = pages.address(0x10);
    EXPECT_EQ(0x55555555u, replace_pointer(slot, 0xCAFEBABE));
    EXPECT_EQ(0xCAFEBABEu, read32(slot));
    EXPECT_EQ(0xCAFEBABEu, replace_pointer(slot, 0x12345678));
    EXPECT_EQ(0x12345678u, read32(slot));
    EXPECT_EQ(static_cast<DWORD>(PAGE_READONLY), protection_of(slot));
    EXPECT_EQ(2 * PAGE - 4, static_cast<SIZE_T>(pages.bytes_equal_to(0x55)));
}

TEST(FillBytes, OneByteAndEmptyRanges) {
    Pages pages(PAGE_EXECUTE_READ);
    uintptr_t start = pages.address(0x100);
    EXPECT_NE(0, fill_bytes(start, 0x90, start + 1));
    EXPECT_EQ(0x90, *at(start));
    EXPECT_EQ(1, pages.bytes_equal_to(0x90));
    fill_bytes(start + 8, 0x90, start + 8);
    EXPECT_EQ(1, pages.bytes_equal_to(0x90));
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protection_of(start));
}

TEST(FillBytes, RangeAcrossAPageBoundaryRestoresBothPages) {
    Pages pages(PAGE_READONLY);
    EXPECT_NE(0, fill_bytes(pages.address(PAGE - 3), 0x90, pages.address(PAGE + 5)));
    EXPECT_EQ(8, pages.bytes_equal_to(0x90));
    EXPECT_EQ(0x55, *at(pages.address(PAGE - 4)));
    EXPECT_EQ(0x55, *at(pages.address(PAGE + 5)));
    EXPECT_EQ(static_cast<DWORD>(PAGE_READONLY), protection_of(pages.address(0)));
    EXPECT_EQ(static_cast<DWORD>(PAGE_READONLY), protection_of(pages.address(PAGE)));
}

TEST(Primitives, UnchangeableProtectionWritesNothingAndReturnsZero) {
    // Reserved, never committed: no protection can be given to it, and any
    // read or write there would fault.
    void* reserved = VirtualAlloc(NULL, PAGE, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_TRUE(reserved != NULL);
    uintptr_t address = reinterpret_cast<uintptr_t>(reserved) + 0x20;
    EXPECT_EQ(0u, redirect_call(address, 0x10001000));
    EXPECT_EQ(0u, replace_pointer(address, 0x12345678));
    EXPECT_EQ(0, fill_bytes(address, 0x90, address + 8));
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(reserved, &info, sizeof info);
    EXPECT_EQ(static_cast<DWORD>(MEM_RESERVE), info.State);
    VirtualFree(reserved, 0, MEM_RELEASE);
}

}  // namespace
