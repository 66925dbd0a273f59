// make_wave left|right|both OUT.wav
//
// Writes the sound card test's noise: two seconds of 16-bit stereo PCM at 22,050 Hz, white
// noise at about a quarter of full scale on the named channel(s) and silence on the other.
// The noise comes from a fixed-seed generator, so every build writes the same bytes. Each
// sample is drawn whether it is kept or not, so a channel carries the same noise in every
// file that has it.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "art.h"

namespace {

constexpr uint32_t kSampleRate = 22050;
constexpr uint16_t kChannels = 2;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint32_t kFrames = 2 * kSampleRate;
constexpr int kLevel = 8192;  // peak amplitude of the noise
constexpr uint32_t kHeaderLength = 44;

void PutWord16(std::vector<uint8_t>* out, uint16_t value)
{
    out->push_back(uint8_t(value));
    out->push_back(uint8_t(value >> 8));
}

void PutWord32(std::vector<uint8_t>* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i) out->push_back(uint8_t(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>* out, const char* tag)
{
    out->insert(out->end(), tag, tag + 4);
}

// xorshift32: a small, fixed generator, so the files do not depend on the C library.
uint32_t NextRandom(uint32_t* state)
{
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return *state = x;
}

int16_t NoiseSample(uint32_t* state)
{
    return int16_t(int(NextRandom(state) % (2 * kLevel + 1)) - kLevel);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) return ArtFail("make_wave", "usage: make_wave left|right|both OUT.wav");
    const std::string which = argv[1];
    if (which != "left" && which != "right" && which != "both")
        return ArtFail("make_wave", "the channel must be left, right or both, not " + which);
    const bool left = which != "right", right = which != "left";

    const uint32_t blockAlign = kChannels * kBitsPerSample / 8;
    const uint32_t dataLength = kFrames * blockAlign;
    std::vector<uint8_t> wave;
    wave.reserve(kHeaderLength + dataLength);
    PutTag(&wave, "RIFF");
    PutWord32(&wave, kHeaderLength - 8 + dataLength);
    PutTag(&wave, "WAVE");
    PutTag(&wave, "fmt ");
    PutWord32(&wave, 16);
    PutWord16(&wave, 1);  // PCM
    PutWord16(&wave, kChannels);
    PutWord32(&wave, kSampleRate);
    PutWord32(&wave, kSampleRate * blockAlign);
    PutWord16(&wave, uint16_t(blockAlign));
    PutWord16(&wave, kBitsPerSample);
    PutTag(&wave, "data");
    PutWord32(&wave, dataLength);
    uint32_t state = 0x2545F491;
    for (uint32_t frame = 0; frame < kFrames; ++frame) {
        const int16_t l = NoiseSample(&state), r = NoiseSample(&state);
        PutWord16(&wave, uint16_t(left ? l : 0));
        PutWord16(&wave, uint16_t(right ? r : 0));
    }

    FILE* out = fopen(argv[2], "wb");
    if (!out) return ArtFail("make_wave", std::string("cannot write ") + argv[2]);
    const bool written = fwrite(wave.data(), 1, wave.size(), out) == wave.size();
    if (fclose(out) != 0 || !written) return ArtFail("make_wave", std::string("cannot write ") + argv[2]);
    return 0;
}
