// Self-tests of the processor, its floating-point unit and memory for the motherboard and
// memory diagnostics: values passed through the general registers, the flags, exact double
// arithmetic and block comparisons. Each result is true when that test failed. Portable
// (x86 hosts run the register tests in assembly; other hosts report them passed).
#pragma once

// Register tests on the 16-bit registers: 0xFFFF and 0 passed from AX through the other
// general registers (the 0 also through DS, ES and BP where the mode allows), a zero bit
// and a one bit walked through every position, and the flags loaded and read back.
struct CpuRegisterResults {
    bool ffffFailed;
    bool zeroFailed;
    bool walkingZeroFailed;
    bool walkingOneFailed;
    bool flagsFailed;  // carry, zero, parity, sign, auxiliary carry or overflow wrong
};
CpuRegisterResults TestCpuRegisters();

// The passing and walking tests on the 32-bit registers EAX, EBX, ECX, EDX, ESI and EDI
// (32 positions for the walking bits); flagsFailed stays false.
CpuRegisterResults TestCpuRegisters32();

// Exact double-precision arithmetic on 1 and 1e-11.
struct FpuResults {
    bool addFailed;
    bool subtractFailed;
    bool multiplyFailed;
    bool divideFailed;
};
FpuResults TestFpu();

// Pairs of 32000-byte blocks filled alike must compare equal.
struct MemoryResults {
    bool stuckBitFailed;     // two zero-filled blocks
    bool parityFailed;       // two fresh zero-filled blocks
    bool weakBitFailed;      // blocks of 1s, compared 1000 times
    bool verifyFailed;       // blocks of 1s
    bool patternFailed;      // blocks of 10s
    bool walkingOneFailed;   // the low byte of 1 << bit, bit 0 to 15
    bool walkingZeroFailed;  // the low byte of 255 << bit, bit 0 to 15
};
MemoryResults TestMemory();
