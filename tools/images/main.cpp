// make_images: paints the title, star field, planet maps and particle sprites into <outdir>/images, and
// the desktop icon into <outdir>/icons.
#include <SDL/SDL_ttf.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/images/Icon.h"
#include "tools/images/ImageChecks.h"
#include "tools/images/PlanetMaps.h"
#include "tools/images/Sprites.h"
#include "tools/images/StarField.h"
#include "tools/images/TitleScreen.h"

#ifndef GRAVIMEL_FONT_DIR
#define GRAVIMEL_FONT_DIR "/usr/share/fonts/truetype/liberation"
#endif

namespace {

// Runs the jobs on every core; each job paints and writes one file.
bool runAll(const std::vector<std::function<bool()>>& jobs) {
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto worker = [&] {
        for (size_t i; (i = next++) < jobs.size();)
            if (!jobs[i]()) ok = false;
    };
    std::vector<std::thread> threads;
    unsigned n = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    for (unsigned i = 0; i < n; ++i)
        threads.emplace_back(worker);
    for (std::thread& t : threads)
        t.join();
    return ok;
}

// Writes the picture only when none of the checks found a fault in it; otherwise says what is wrong.
bool writeChecked(const std::string& file, const Image& image, const std::vector<std::string>& problems,
                  int quality = 0) {
    for (const std::string& problem : problems)
        if (!problem.empty()) {
            std::printf("Error: %s: %s\n", file.c_str(), problem.c_str());
            return false;
        }
    return quality ? image.writeJpeg(file, quality) : image.writeTga(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: make_images <outdir> [font directory]\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string fontDir = argc > 2 ? argv[2] : GRAVIMEL_FONT_DIR;
    const std::string images = out + "/images/";
    std::error_code error;
    std::filesystem::create_directories(images, error);
    if (error) {
        std::printf("Error: could not create %s: %s\n", images.c_str(), error.message().c_str());
        return 1;
    }
    if (TTF_Init() == -1) {
        std::printf("Unable to initialize SDL_ttf: %s\n", TTF_GetError());
        return 1;
    }
    TitleText text;
    bool rendered = renderTitleText(fontDir, out + "/fonts/arial.ttf", text);
    TTF_Quit();
    if (!rendered) return 1;

    std::vector<std::function<bool()>> jobs;
    auto add = [&](const std::string& file, std::function<bool(const std::string&)> job) {
        jobs.push_back([file, job] {
            bool ok = job(file);
            if (!ok) std::printf("Error: %s was not written\n", file.c_str());
            return ok;
        });
    };
    add(images + "titlescreen.jpg", [&text](const std::string& f) { return paintTitle(f, text); });
    add(images + "stars.jpg", [](const std::string& f) {
        const Image sky = paintSky();
        return writeChecked(f, sky, {seamProblem(sky, false), seamProblem(sky, true), poleProblem(sky)}, 92);
    });
    for (const std::string& name : planetMapNames())
        add(images + "map-" + name + ".jpg", [name](const std::string& f) {
            const Image map = paintPlanetMap(name, 1024, 512);
            return writeChecked(f, map, {seamProblem(map, false)}, 90);
        });
    for (auto [file, paint] :
         {std::pair{"particlealphanormal", paintFireSprite},
          std::pair{"particlealphacircle", paintRingSprite}, std::pair{"smoketrail", paintSmokeSprite}})
        add(images + file + ".tga", [paint = paint](const std::string& f) {
            const Image sprite = paint(64);
            return writeChecked(f, sprite, {spriteProblem(sprite)});
        });

    // The desktop icon, in the folders of the icon theme it is installed into.
    for (int size : {256, 48}) {
        const std::string dir =
            out + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir, error);
        if (error) {
            std::printf("Error: could not create %s: %s\n", dir.c_str(), error.message().c_str());
            return 1;
        }
        add(dir + "/gravimel.png", [size](const std::string& f) { return paintIcon(size, 4).writePng(f); });
    }

    bool ok = runAll(jobs);
    if (ok) std::printf("Wrote %zu images to %s and %s/icons\n", jobs.size(), images.c_str(), out.c_str());
    return ok ? 0 : 1;
}
