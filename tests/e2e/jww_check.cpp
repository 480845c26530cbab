// jww_check FILE [--jwcad] [--objects] [--groups]: reads a JWW file with the tests' strict reader
// and prints its counts (with --objects every line and text, with --groups every layer group's
// scale), so shell tests can check written files.
// Without --jwcad the file must also have the layout Velmora writes. Exit status 0 when it reads.
#include <cstdio>
#include <cstring>
#include <string>

#include "support/jww_reader.h"

using velmora::test_support::JwwFile;

int main(int argc, char** argv) {
    const char* path = nullptr;
    bool jwcad = false;
    bool objects = false;
    bool groups = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--jwcad") == 0) {
            jwcad = true;
        } else if (std::strcmp(argv[i], "--objects") == 0) {
            objects = true;
        } else if (std::strcmp(argv[i], "--groups") == 0) {
            groups = true;
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (path == nullptr) {
        std::fprintf(stderr, "usage: jww_check FILE [--jwcad] [--objects] [--groups]\n");
        return 2;
    }
    static JwwFile file;
    std::string error;
    if (!velmora::test_support::ReadJwwFile(path, &file, &error) ||
        (!jwcad && !velmora::test_support::CheckWriterLayout(file, &error))) {
        std::fprintf(stderr, "%s: %s\n", path, error.c_str());
        return 1;
    }
    std::printf("paper %u\nscale %.17g\nobjects %u\nlines %zu\ntexts %zu\n", file.paper_size, file.groups[0].scale,
                file.object_count, file.lines.size(), file.texts.size());
    if (groups) {
        for (int group = 0; group < 16; ++group) std::printf("group %d scale %.17g\n", group, file.groups[group].scale);
    }
    if (objects) {
        // Named and hidden layers only, so files without PDF layers keep their summaries.
        for (int group = 0; group < 16; ++group) {
            for (int layer = 0; layer < 16; ++layer) {
                const std::string& name = file.layer_names[static_cast<size_t>(group * 16 + layer)];
                if (name != "Ln") std::printf("name %X-%X %s\n", group, layer, name.c_str());
                if (file.groups[group].layer_state[layer] == 0) std::printf("hidden %X-%X\n", group, layer);
            }
            if (file.group_names[static_cast<size_t>(group)] != "Gn") {
                std::printf("group name %X %s\n", group, file.group_names[static_cast<size_t>(group)].c_str());
            }
        }
        for (const auto& line : file.lines) {
            std::printf("L %.17g %.17g %.17g %.17g layer %u group %u pen %u style %u\n", line.x1, line.y1, line.x2,
                        line.y2, line.attributes.layer, line.attributes.layer_group, line.attributes.pen_colour,
                        line.attributes.pen_style);
        }
        for (const auto& text : file.texts) {
            std::printf("T %.17g %.17g %.17g %.17g size %.17g angle %.17g bytes %zu flags %u\n", text.x1, text.y1,
                        text.x2, text.y2, text.size_y, text.angle, text.text.size(), text.attributes.flags);
        }
        for (const auto& arc : file.arc_list) {
            std::printf("A %.17g %.17g %.17g start %.17g sweep %.17g tilt %.17g flat %.17g full %u layer %u group %u pen %u style %u\n",
                        arc.centre_x, arc.centre_y, arc.radius, arc.start_angle, arc.sweep, arc.tilt, arc.flatness,
                        arc.full_circle, arc.attributes.layer, arc.attributes.layer_group, arc.attributes.pen_colour,
                        arc.attributes.pen_style);
        }
        // Solids in file order, their corners as stored.
        for (const auto& solid : file.solid_list) {
            std::printf("S %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g layer %u group %u pen %u colour %u\n",
                        solid.x[0], solid.y[0], solid.x[1], solid.y[1], solid.x[2], solid.y[2], solid.x[3], solid.y[3],
                        solid.attributes.layer, solid.attributes.layer_group, solid.attributes.pen_colour, solid.colour);
        }
    }
    return 0;
}
