// Writes the game's sounds as WAVE files into the folder named: click.wav and chime.wav. Run at
// build time; the sound library carries what it writes. The sounds are the game's own, under its
// licence (GPL-3.0-or-later).

#include "sound/Synthesis.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "mozik-make-sounds");
        return 2;
    }
    const std::string folder = argv[1];
    for (const auto& [name, samples] : {std::pair{"click.wav", ClickSamples()}, std::pair{"chime.wav", ChimeSamples()}}) {
        const std::string bytes = WaveFile(samples);
        std::ofstream file(folder + '/' + name, std::ios::binary | std::ios::trunc);
        if (!file.write(bytes.data(), std::streamsize(bytes.size())) || !file.flush()) {
            std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
