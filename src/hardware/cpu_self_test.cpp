#include "hardware/cpu_self_test.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

// Every register test moves a value from AX through the other general registers and
// compares what arrives in DI with what left AX, so a register that drops or sticks a bit
// shows as a non-zero difference. Registers written are declared clobbered; BP, which may
// hold the frame pointer, is saved and restored by hand and nothing in memory is touched
// while it holds a test value.

#if defined(__x86_64__) || defined(__i386__)

static uint32_t PassThroughRegisters16(uint32_t value)
{
    __asm__ volatile(
        "movw %%ax, %%bx\n\t"
        "movw %%bx, %%cx\n\t"
        "movw %%cx, %%dx\n\t"
        "movw %%dx, %%si\n\t"
        "movw %%si, %%di\n\t"
        "xorw %%di, %%ax\n\t"
        : "+a"(value)
        :
        : "ebx", "ecx", "edx", "esi", "edi", "cc");
    return value & 0xFFFF;
}

static uint32_t PassThroughRegisters32(uint32_t value)
{
    __asm__ volatile(
        "movl %%eax, %%ebx\n\t"
        "movl %%ebx, %%ecx\n\t"
        "movl %%ecx, %%edx\n\t"
        "movl %%edx, %%esi\n\t"
        "movl %%esi, %%edi\n\t"
        "xorl %%edi, %%eax\n\t"
        : "+a"(value)
        :
        : "ebx", "ecx", "edx", "esi", "edi", "cc");
    return value;
}

// 0 from AX through the registers, BP included, ORed with what arrives in DI.
static uint32_t PassZeroThroughRegisters16()
{
    uint32_t value = 0;
#if defined(__x86_64__)
    // In 64-bit mode DS and ES carry no segment (the processor ignores their bases), and
    // the system may reset a null selector loaded into them on any interrupt, so the
    // value does not pass through them.
    __asm__ volatile(
        "movq %%rbp, %%r8\n\t"
        "movw %%ax, %%bx\n\t"
        "movw %%bx, %%cx\n\t"
        "movw %%cx, %%bp\n\t"
        "movw %%bp, %%dx\n\t"
        "movw %%dx, %%si\n\t"
        "movw %%si, %%di\n\t"
        "movq %%r8, %%rbp\n\t"
        "orw %%di, %%ax\n\t"
        : "+a"(value)
        :
        : "rbx", "rcx", "rdx", "rsi", "rdi", "r8", "cc");
#else
    __asm__ volatile(
        "pushl %%ebp\n\t"
        "pushl %%ds\n\t"
        "pushl %%es\n\t"
        "movw %%ax, %%ds\n\t"
        "movw %%ds, %%bx\n\t"
        "movw %%bx, %%es\n\t"
        "movw %%es, %%cx\n\t"
        "movw %%cx, %%bp\n\t"
        "movw %%bp, %%dx\n\t"
        "movw %%dx, %%si\n\t"
        "movw %%si, %%di\n\t"
        "popl %%es\n\t"
        "popl %%ds\n\t"
        "popl %%ebp\n\t"
        "orw %%di, %%ax\n\t"
        : "+a"(value)
        :
        : "ebx", "ecx", "edx", "esi", "edi", "cc");
#endif
    return value & 0xFFFF;
}

// The flags loaded from AH = 0xD5 and then from AH = 0, each read back; the overflow of an
// 8-bit shift of 0x40 (which sets it: the sign bit changes) and of 0 (which does not).
struct FlagReadings {
    uint8_t carry1, zero1, parity1, sign1, overflow1;
    uint8_t carry2, zero2, parity2, sign2, overflow2;
    uint32_t eaxBack1, eaxBack2;  // AH read back from the flags in bits 8..15
};

// LOAD puts AH's sign, zero, auxiliary carry, parity and carry bits into the flags; READ
// puts the low byte of the flags into AH. Neither may touch the memory operands.
#define HALVORN_FLAG_TEST_BODY(LOAD, READ) \
    "movb $0xD5, %%ah\n\t" LOAD            \
    "setc %[c1]\n\t"                       \
    "setz %[z1]\n\t"                       \
    "setp %[p1]\n\t"                       \
    "sets %[s1]\n\t" READ                  \
    "movl %%eax, %[a1]\n\t"                 \
    "movb $0x40, %%al\n\t"                 \
    "shlb $1, %%al\n\t"                    \
    "seto %[o1]\n\t"                       \
    "movb $0, %%ah\n\t" LOAD               \
    "setc %[c2]\n\t"                       \
    "setz %[z2]\n\t"                       \
    "setp %[p2]\n\t"                       \
    "sets %[s2]\n\t" READ                  \
    "movl %%eax, %[a2]\n\t"                 \
    "movb $0, %%al\n\t"                    \
    "shlb $1, %%al\n\t"                    \
    "seto %[o2]\n\t"

#define HALVORN_FLAG_OUTPUTS(r)                                                              \
    [c1] "=m"(r.carry1), [z1] "=m"(r.zero1), [p1] "=m"(r.parity1), [s1] "=m"(r.sign1),       \
    [a1] "=m"(r.eaxBack1), [o1] "=m"(r.overflow1), [c2] "=m"(r.carry2), [z2] "=m"(r.zero2),    \
    [p2] "=m"(r.parity2), [s2] "=m"(r.sign2), [a2] "=m"(r.eaxBack2), [o2] "=m"(r.overflow2)

static FlagReadings ReadFlagsWithSahf()
{
    FlagReadings r = {};
    __asm__ volatile(HALVORN_FLAG_TEST_BODY("sahf\n\t", "lahf\n\t")
                     : HALVORN_FLAG_OUTPUTS(r)
                     :
                     : "eax", "cc");
    return r;
}

#if defined(__x86_64__)
// For 64-bit processors without LAHF and SAHF in 64-bit mode: the same through the stack.
// The stack pointer steps over the red zone below it (where the compiler may keep values)
// and is back in place before any memory operand is written; LEA leaves the flags alone.
static FlagReadings ReadFlagsWithPushf()
{
    FlagReadings r = {};
    __asm__ volatile(HALVORN_FLAG_TEST_BODY(
                         "leaq -128(%%rsp), %%rsp\n\t"
                         "pushfq\n\t"
                         "andq $-0xD6, (%%rsp)\n\t"
                         "movl %%eax, %%ecx\n\t"
                         "shrl $8, %%ecx\n\t"
                         "andl $0xD5, %%ecx\n\t"
                         "orq %%rcx, (%%rsp)\n\t"
                         "popfq\n\t"
                         "leaq 128(%%rsp), %%rsp\n\t",
                         "leaq -128(%%rsp), %%rsp\n\t"
                         "pushfq\n\t"
                         "popq %%rcx\n\t"
                         "leaq 128(%%rsp), %%rsp\n\t"
                         "movb %%cl, %%ah\n\t")
                     : HALVORN_FLAG_OUTPUTS(r)
                     :
                     : "rax", "rcx", "cc");
    return r;
}

static bool HasLahfIn64BitMode()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(0x80000001, &a, &b, &c, &d) && (c & 1);
}
#endif

static bool FlagsTestFailed()
{
#if defined(__x86_64__)
    const FlagReadings r = HasLahfIn64BitMode() ? ReadFlagsWithSahf() : ReadFlagsWithPushf();
#else
    const FlagReadings r = ReadFlagsWithSahf();
#endif
    constexpr uint32_t kAuxiliaryCarry = 0x10 << 8;  // in AH
    const bool firstHolds = r.carry1 && r.zero1 && r.parity1 && r.sign1 && (r.eaxBack1 & kAuxiliaryCarry) && r.overflow1;
    const bool secondHolds = !r.carry2 && !r.zero2 && !r.parity2 && !r.sign2 && !(r.eaxBack2 & kAuxiliaryCarry) && !r.overflow2;
    return !(firstHolds && secondHolds);
}

#else

// Hosts without x86 registers have nothing of these to test: every test reports a pass.
static uint32_t PassThroughRegisters16(uint32_t) { return 0; }
static uint32_t PassThroughRegisters32(uint32_t) { return 0; }
static uint32_t PassZeroThroughRegisters16() { return 0; }
static bool FlagsTestFailed() { return false; }

#endif

CpuRegisterResults TestCpuRegisters()
{
    CpuRegisterResults results = {};
    results.ffffFailed = PassThroughRegisters16(0xFFFF) != 0;
#if defined(__i386__)
    // A null selector in DS or ES may be replaced by the system when an interrupt lands in
    // the few instructions it is held; only a difference that repeats is a fault.
    results.zeroFailed = PassZeroThroughRegisters16() != 0 && PassZeroThroughRegisters16() != 0 &&
                         PassZeroThroughRegisters16() != 0;
#else
    results.zeroFailed = PassZeroThroughRegisters16() != 0;
#endif
    uint32_t sum = 0, value = 0xFFFE;
    for (int i = 0; i < 16; ++i) {
        sum = (sum + PassThroughRegisters16(value)) & 0xFFFF;
        value = (value * 2 + 1) & 0xFFFF;
    }
    results.walkingZeroFailed = sum != 0;
    sum = 0;
    value = 1;
    for (int i = 0; i < 16; ++i) {
        sum = (sum + PassThroughRegisters16(value)) & 0xFFFF;
        value = (value * 2) & 0xFFFF;
    }
    results.walkingOneFailed = sum != 0;
    results.flagsFailed = FlagsTestFailed();
    return results;
}

CpuRegisterResults TestCpuRegisters32()
{
    CpuRegisterResults results = {};
    results.ffffFailed = PassThroughRegisters32(0xFFFFFFFFu) != 0;
    results.zeroFailed = PassThroughRegisters32(0) != 0;
    // The differences are ORed, not summed: a 32-bit sum could wrap back to 0.
    uint32_t differences = 0, value = 0xFFFFFFFEu;
    for (int i = 0; i < 32; ++i) {
        differences |= PassThroughRegisters32(value);
        value = value * 2 + 1;
    }
    results.walkingZeroFailed = differences != 0;
    differences = 0;
    value = 1;
    for (int i = 0; i < 32; ++i) {
        differences |= PassThroughRegisters32(value);
        value = value * 2;
    }
    results.walkingOneFailed = differences != 0;
    return results;
}

FpuResults TestFpu()
{
    // Volatile operands: the arithmetic happens at run time on this processor, not in the
    // compiler. Doubles are compared as doubles (the 32-bit build does its arithmetic in
    // SSE2 registers, so no wider intermediate takes part).
    volatile double one = 1.0, tiny = 1e-11;
    volatile double sum = one + tiny, difference = one - tiny, product = one * tiny, quotient = one / tiny;
    FpuResults results = {};
    results.addFailed = sum != 1.00000000001;
    results.subtractFailed = difference != 0.99999999999;
    results.multiplyFailed = product != 1e-11;
    results.divideFailed = quotient != 1e11;
    return results;
}

namespace {

constexpr size_t kBlockLength = 32000;

// Called through volatile pointers so the compiler cannot decide the comparison of two
// blocks it watched being filled alike.
void* (*volatile gFill)(void*, int, size_t) = memset;
int (*volatile gCompare)(const void*, const void*, size_t) = memcmp;

struct BlockPair {
    BlockPair() : a(static_cast<unsigned char*>(calloc(kBlockLength, 1))), b(static_cast<unsigned char*>(calloc(kBlockLength, 1))) {}
    ~BlockPair() { free(a); free(b); }
    BlockPair(const BlockPair&) = delete;
    BlockPair& operator=(const BlockPair&) = delete;
    bool IsAllocated() const { return a && b; }
    void Fill(unsigned char byte)
    {
        gFill(a, byte, kBlockLength);
        gFill(b, byte, kBlockLength);
    }
    bool Differ() const { return gCompare(a, b, kBlockLength) != 0; }
    unsigned char* a;
    unsigned char* b;
};

}  // namespace

MemoryResults TestMemory()
{
    // Blocks that cannot be had are not tested: an allocation failure is no memory fault.
    MemoryResults results = {};
    {
        BlockPair blocks;
        results.stuckBitFailed = blocks.IsAllocated() && blocks.Differ();
    }
    BlockPair blocks;
    if (!blocks.IsAllocated()) return results;
    results.parityFailed = blocks.Differ();
    blocks.Fill(1);
    for (int i = 0; i < 1000 && !results.weakBitFailed; ++i) results.weakBitFailed = blocks.Differ();
    blocks.Fill(1);
    results.verifyFailed = blocks.Differ();
    blocks.Fill(10);
    results.patternFailed = blocks.Differ();
    for (int bit = 0; bit < 16 && !results.walkingOneFailed; ++bit) {
        blocks.Fill(static_cast<unsigned char>(1u << bit));
        results.walkingOneFailed = blocks.Differ();
    }
    for (int bit = 0; bit < 16 && !results.walkingZeroFailed; ++bit) {
        blocks.Fill(static_cast<unsigned char>(255u << bit));
        results.walkingZeroFailed = blocks.Differ();
    }
    return results;
}
