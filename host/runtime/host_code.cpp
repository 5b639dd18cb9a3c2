#include "host/runtime/host_code.h"

#include <stdio.h>
#include <string.h>

#include "base/host_address_map.h"

HostCallLog host_call_log_a;
HostCallLog host_call_log_b;
int pointer_routine_runs_a;
int pointer_routine_runs_b;

namespace {

// A call-site routine, called like the host's own (cdecl, one argument). It
// puts the argument in EBX, ESI and EDI, calls a host function with it (the
// call instruction at CALL_OFFSET is the patched site), and returns that
// function's result if EBX, ESI, EDI, EBP and ESP came back as they were,
// HOST_REGISTERS_CLOBBERED otherwise.
const uint8_t CALL_SITE_ROUTINE[] = {
    0x53, 0x56, 0x57, 0x55,              // push ebx; push esi; push edi; push ebp
    0x89, 0xE5,                          // mov ebp, esp
    0x8B, 0x45, 0x14,                    // mov eax, [ebp+20]   (the argument)
    0x89, 0xC3, 0x89, 0xC6, 0x89, 0xC7,  // mov ebx, eax; mov esi, eax; mov edi, eax
    0x50,                                // push eax
    0xE8, 0x00, 0x00, 0x00, 0x00,        // call <host function>
    0x83, 0xC4, 0x04,                    // add esp, 4
    0x33, 0x5D, 0x14,                    // xor ebx, [ebp+20]
    0x33, 0x75, 0x14,                    // xor esi, [ebp+20]
    0x33, 0x7D, 0x14,                    // xor edi, [ebp+20]
    0x09, 0xF3, 0x09, 0xFB,              // or ebx, esi; or ebx, edi
    0x89, 0xE2, 0x29, 0xEA, 0x09, 0xD3,  // mov edx, esp; sub edx, ebp; or ebx, edx
    0x74, 0x05,                          // jz done
    0xB8, 0xE5, 0x0D, 0xDC, 0xBA,        // mov eax, HOST_REGISTERS_CLOBBERED
    0x5D, 0x5F, 0x5E, 0x5B,              // done: pop ebp; pop edi; pop esi; pop ebx
    0xC3,                                // ret
};
const int CALL_OFFSET = 16;

// Stubs calling through a routine pointer: one holds the pointer as the
// immediate of its own instruction (a slot in code), the other reads it from a
// slot in data. Both return how far the call moved ESP.
const uint8_t IMMEDIATE_POINTER_STUB[] = {
    0x55, 0x89, 0xE5,              // push ebp; mov ebp, esp
    0xB8, 0x00, 0x00, 0x00, 0x00,  // mov eax, <routine>   (the slot)
    0xFF, 0xD0,                    // call eax
    0x89, 0xE0, 0x29, 0xE8,        // mov eax, esp; sub eax, ebp
    0x89, 0xEC, 0x5D, 0xC3,        // mov esp, ebp; pop ebp; ret
};
const int IMMEDIATE_SLOT_OFFSET = 4;
const uint8_t INDIRECT_POINTER_STUB[] = {
    0x55, 0x89, 0xE5,                    // push ebp; mov ebp, esp
    0xFF, 0x15, 0x00, 0x00, 0x00, 0x00,  // call [<slot>]
    0x89, 0xE0, 0x29, 0xE8,              // mov eax, esp; sub eax, ebp
    0x89, 0xEC, 0x5D, 0xC3,              // mov esp, ebp; pop ebp; ret
};
const int INDIRECT_ADDRESS_OFFSET = 5;

// Where the pieces go: each call-site routine around its call, stub A around
// its slot, stub B right after stub A.
const uintptr_t ROUTINE_A = host_map::CALL_SITE_A - CALL_OFFSET;
const uintptr_t ROUTINE_B = host_map::CALL_SITE_B - CALL_OFFSET;
const uintptr_t STUB_A = host_map::ROUTINE_POINTER_A - IMMEDIATE_SLOT_OFFSET;
const uintptr_t STUB_B = STUB_A + sizeof IMMEDIATE_POINTER_STUB;

// Filler of unused host code (int3), and code bytes for the ranges that the
// plug-in overwrites.
const uint8_t CODE_FILLER = 0xCC;
const uint8_t RANGE_CODE[] = {0x8B, 0x4C, 0x24, 0x04, 0x89, 0x0D, 0xA4, 0x6B, 0x4D, 0x00};

typedef int(__cdecl* CallSiteRoutine)(int argument);
typedef int(__cdecl* PointerStub)(void);

int record_call(HostCallLog* log, int argument, int result) {
    log->runs++;
    log->last_argument = argument;
    log->last_result = result;
    log->cursor_seen = GetCursor();
    return result;
}

int __cdecl host_function_a(int argument) {
    return record_call(&host_call_log_a, argument, host_call_result_a(argument));
}

int __cdecl host_function_b(int argument) {
    return record_call(&host_call_log_b, argument, host_call_result_b(argument));
}

void __cdecl host_pointer_routine_a(void) { pointer_routine_runs_a++; }
void __cdecl host_pointer_routine_b(void) { pointer_routine_runs_b++; }

uint8_t* at(uintptr_t address) { return reinterpret_cast<uint8_t*>(address); }

void put32(uintptr_t address, uint32_t value) { memcpy(at(address), &value, sizeof value); }

uint32_t address_of(const void* thing) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(thing));
}

void write_call_site_routine(uintptr_t routine, const void* callee) {
    memcpy(at(routine), CALL_SITE_ROUTINE, sizeof CALL_SITE_ROUTINE);
    uintptr_t site = routine + CALL_OFFSET;
    put32(site + 1, address_of(callee) - static_cast<uint32_t>(site + 5));
}

void write_pointer_stubs() {
    memcpy(at(STUB_A), IMMEDIATE_POINTER_STUB, sizeof IMMEDIATE_POINTER_STUB);
    put32(host_map::ROUTINE_POINTER_A, address_of(reinterpret_cast<void*>(host_pointer_routine_a)));
    memcpy(at(STUB_B), INDIRECT_POINTER_STUB, sizeof INDIRECT_POINTER_STUB);
    put32(STUB_B + INDIRECT_ADDRESS_OFFSET, static_cast<uint32_t>(host_map::ROUTINE_POINTER_B));
    put32(host_map::ROUTINE_POINTER_B, address_of(reinterpret_cast<void*>(host_pointer_routine_b)));
}

void write_fill_ranges() {
    for (const host_map::ByteRange& range : host_map::HOST_FILL_RANGES)
        for (uintptr_t address = range.start; address < range.end; ++address)
            *at(address) = RANGE_CODE[(address - range.start) % sizeof RANGE_CODE];
}

// The file name of the module holding the code a call site leads to.
const char* module_leading_to(uintptr_t site, char* name, DWORD size) {
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(call_destination(site)), &module);
    DWORD length = module ? GetModuleFileNameA(module, name, size) : 0;
    if (length == 0 || length >= size)
        return "no module";
    const char* slash = strrchr(name, '\\');
    return slash ? slash + 1 : name;
}

void report_call_site(char label, uintptr_t site, int argument, int result,
                      const HostCallLog& log) {
    char name[MAX_PATH];
    printf("host: call site %c at 0x%06lx leads into %s: routine(%d) = %d, cursor %p as it ran\n",
           label, static_cast<unsigned long>(site), module_leading_to(site, name, MAX_PATH),
           argument, result, static_cast<void*>(log.cursor_seen));
}

void report_pointer(uintptr_t slot, int moved, int host_routine_runs) {
    printf("host: routine pointer at 0x%06lx: stack moved %d, host routine ran %d times\n",
           static_cast<unsigned long>(slot), moved, host_routine_runs);
}

}  // namespace

namespace {
bool installed;
}  // namespace

void install_host_code() {
    void* code = at(host_map::CODE_START);
    SIZE_T code_size = host_map::DATA_START - host_map::CODE_START;
    DWORD previous;
    VirtualProtect(code, code_size, PAGE_EXECUTE_READWRITE, &previous);
    memset(code, CODE_FILLER, code_size);
    write_call_site_routine(ROUTINE_A, reinterpret_cast<void*>(host_function_a));
    write_call_site_routine(ROUTINE_B, reinterpret_cast<void*>(host_function_b));
    write_pointer_stubs();
    write_fill_ranges();
    FlushInstructionCache(GetCurrentProcess(), code, code_size);
    VirtualProtect(code, code_size, PAGE_EXECUTE_READ, &previous);
    installed = true;
}

bool host_code_installed() { return installed; }

int run_call_site_routine_a(int argument) {
    return reinterpret_cast<CallSiteRoutine>(ROUTINE_A)(argument);
}

int run_call_site_routine_b(int argument) {
    return reinterpret_cast<CallSiteRoutine>(ROUTINE_B)(argument);
}

int run_pointer_stub_a() { return reinterpret_cast<PointerStub>(STUB_A)(); }

int run_pointer_stub_b() { return reinterpret_cast<PointerStub>(STUB_B)(); }

uintptr_t call_destination(uintptr_t site) {
    uint32_t displacement;
    memcpy(&displacement, at(site + 1), sizeof displacement);
    return site + 5 + displacement;
}

void tour_host_code() {
    const int argument = 7;
    int result = run_call_site_routine_a(argument);
    report_call_site('A', host_map::CALL_SITE_A, argument, result, host_call_log_a);
    result = run_call_site_routine_b(argument);
    report_call_site('B', host_map::CALL_SITE_B, argument, result, host_call_log_b);
    int moved = run_pointer_stub_a();
    report_pointer(host_map::ROUTINE_POINTER_A, moved, pointer_routine_runs_a);
    moved = run_pointer_stub_b();
    report_pointer(host_map::ROUTINE_POINTER_B, moved, pointer_routine_runs_b);
    fflush(stdout);
}
