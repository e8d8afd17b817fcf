// Writes the reminder sound that ships with the program: a soft two-note chime,
// 16-bit mono PCM WAV at 22 050 Hz. Run as: soundgen <output.wav>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;

// One struck note: a sine with two soft overtones and an exponential decay.
void addNote(std::vector<double>& samples, double startSeconds, double frequency, double seconds, double level)
{
    const int start = static_cast<int>(startSeconds * Rate);
    const int length = static_cast<int>(seconds * Rate);
    for (int i = 0; i < length && start + i < static_cast<int>(samples.size()); ++i) {
        const double t = double(i) / Rate;
        const double attack = std::min(1.0, t / 0.005);
        const double envelope = attack * std::exp(-t * 3.2);
        const double tone = std::sin(2 * Pi * frequency * t) + 0.35 * std::sin(4 * Pi * frequency * t)
            + 0.12 * std::sin(6 * Pi * frequency * t);
        samples[start + i] += level * envelope * tone;
    }
}

void put16(std::FILE* file, std::uint16_t value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>(value >> 8)};
    std::fwrite(bytes, 1, 2, file);
}

void put32(std::FILE* file, std::uint32_t value)
{
    put16(file, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(file, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <output.wav>\n");
        return 2;
    }
    std::vector<double> samples(static_cast<size_t>(Rate * 1.6), 0.0);
    addNote(samples, 0.00, 880.0, 1.2, 0.30);     // A5
    addNote(samples, 0.18, 1318.5, 1.4, 0.25);    // E6

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file)
        return 1;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    put32(file, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    put32(file, 16);
    put16(file, 1);         // PCM
    put16(file, 1);         // mono
    put32(file, Rate);
    put32(file, Rate * 2);  // bytes a second
    put16(file, 2);         // bytes a frame
    put16(file, 16);        // bits a sample
    std::fwrite("data", 1, 4, file);
    put32(file, dataBytes);
    for (double sample : samples) {
        const double clipped = std::max(-1.0, std::min(1.0, sample));
        put16(file, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clipped * 32000))));
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
