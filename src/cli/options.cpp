#include "cli/options.h"

#include <algorithm>
#include <cstdlib>

namespace velmora {

const char kUsageText[] =
    "usage: velmora-convert [OPTIONS] INPUT.pdf...\n"
    "  -o, --output PATH   one page of one input: the .jww file to write; an existing directory, several\n"
    "                      pages or several inputs: the directory to write into (created if missing)\n"
    "  -p, --pages SPEC    pages to convert: all (default) | N | a list such as 1,3-5\n"
    "      --scale 1/N     give every converted page the scale 1/N (N >= 1)\n"
    "      --scale auto    give each page the scale its PDF states (viewport measure, else a printed\n"
    "                      scale such as S=1/100); 1/1 where it states none\n"
    "      --route R       auto (default) | direct | gs\n"
    "      --password PW   the password of a protected PDF (the empty one is tried first)\n"
    "      --fills F       solids | outlines (default: the SOLID key of VELMORA.JWF)\n"
    "      --report PATH   also write the PDF report (into a directory PATH: STEM_PDFreport.txt)\n"
    "      --svg           also write an SVG picture of each converted page beside its .jww\n"
    "      --curves C      arcs | lines: curves tracing circles and ellipses as arcs or as\n"
    "                      ten straight pieces each (default: the ARC line of VELMORA.JWF)\n"
    "      --list          print the page list rows and exit\n"
    "      --config DIR    read VELMORA.JWF and JWsxf.dat from DIR\n"
    "  -r, --recursive     folders given as inputs are descended; their PDFs keep their layout under -o\n"
    "  -j, --jobs N        files of folders converted at a time, each in its own process (default: cores)\n"
    "  -q, --quiet         errors only\n"
    "  -v, --verbose       also the window's messages and progress\n"
    "  -h, --help          this text\n"
    "      --version       print the version\n";

namespace {

// A positive decimal integer, digits only.
bool ParsePositive(const std::string& text, int* value) {
    if (text.empty() || text.size() > 9) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    const int parsed = std::atoi(text.c_str());
    if (parsed < 1) return false;
    *value = parsed;
    return true;
}

enum class OptionKind { Flag, Value };

struct OptionDefinition {
    const char* short_name;  // may be null
    const char* long_name;
    OptionKind kind;
};

constexpr OptionDefinition kOptionDefinitions[] = {
    {"-o", "--output", OptionKind::Value}, {"-p", "--pages", OptionKind::Value},
    {nullptr, "--scale", OptionKind::Value}, {nullptr, "--route", OptionKind::Value}, {nullptr, "--password", OptionKind::Value},
    {nullptr, "--fills", OptionKind::Value},
    {nullptr, "--report", OptionKind::Value}, {nullptr, "--svg", OptionKind::Flag},
    {nullptr, "--list", OptionKind::Flag}, {nullptr, "--config", OptionKind::Value},
    {"-q", "--quiet", OptionKind::Flag}, {"-v", "--verbose", OptionKind::Flag}, {"-h", "--help", OptionKind::Flag},
    {nullptr, "--version", OptionKind::Flag}, {nullptr, "--curves", OptionKind::Value},
    {"-r", "--recursive", OptionKind::Flag},
    {"-j", "--jobs", OptionKind::Value},
};

const OptionDefinition* FindOption(const std::string& name) {
    for (const OptionDefinition& definition : kOptionDefinitions) {
        if (name == definition.long_name ||
            (definition.short_name != nullptr && name == definition.short_name)) {
            return &definition;
        }
    }
    return nullptr;
}

// Applies one option; an error text on failure.
std::string Apply(const OptionDefinition& definition, const std::string& value, ConvertOptions* options) {
    const std::string name = definition.long_name;
    if (name == "--output") options->output = value;
    else if (name == "--pages") {
        if (!ParsePageList(value, &options->pages)) return "bad page list '" + value + "' (all, N or a list such as 1,3-5)";
    } else if (name == "--scale") {
        if (!ParseScale(value, &options->scale_denominator)) return "bad scale '" + value + "' (1/N with N >= 1, or auto)";
    } else if (name == "--password") {
        options->password = value;
    } else if (name == "--route") {
        if (value == "auto") options->route = Route::Auto;
        else if (value == "direct") options->route = Route::Direct;
        else if (value == "gs") options->route = Route::Ghostscript;
        else return "bad route '" + value + "' (auto, direct or gs)";
    } else if (name == "--curves") {
        if (value == "arcs") options->curves = 1;
        else if (value == "lines") options->curves = 0;
        else return "bad curves '" + value + "' (arcs or lines)";
    } else if (name == "--fills") {
        if (value == "solids") options->fills = 1;
        else if (value == "outlines") options->fills = 0;
        else return "bad fills '" + value + "' (solids or outlines)";
    } else if (name == "--report") options->report_path = value;
    else if (name == "--svg") options->svg = true;
    else if (name == "--list") options->list = true;
    else if (name == "--config") options->config_directory = value;
    else if (name == "--quiet") options->quiet = true;
    else if (name == "--verbose") options->verbose = true;
    else if (name == "--help") options->help = true;
    else if (name == "--version") options->version = true;
    else if (name == "--recursive") options->recursive = true;
    else if (name == "--jobs") {
        if (!ParsePositive(value, &options->jobs)) return "bad job count '" + value + "' (N >= 1)";
    }
    if (name != "--output" && name != "--recursive" && name != "--jobs") {
        options->forwarded.push_back(name);
        if (definition.kind == OptionKind::Value) options->forwarded.push_back(value);
    }
    return "";
}

}  // namespace

bool ParsePageList(const std::string& text, std::vector<PageRange>* pages) {
    pages->clear();
    if (text == "all") return true;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const size_t dash = item.find('-');
        PageRange range{};
        if (dash == std::string::npos) {
            if (!ParsePositive(item, &range.first)) return false;
            range.last = range.first;
        } else if (!ParsePositive(item.substr(0, dash), &range.first) ||
                   !ParsePositive(item.substr(dash + 1), &range.last) || range.last < range.first) {
            return false;
        }
        pages->push_back(range);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return !pages->empty();
}

bool ParseScale(const std::string& text, int* denominator) {
    if (text == "auto") {
        *denominator = kScaleAuto;
        return true;
    }
    if (text.size() < 3 || text.compare(0, 2, "1/") != 0) return false;
    return ParsePositive(text.substr(2), denominator);
}

bool ExpandPages(const std::vector<PageRange>& ranges, int page_count, std::vector<int>* pages, int* missing_page) {
    pages->clear();
    if (ranges.empty()) {
        for (int page = 1; page <= page_count; ++page) pages->push_back(page);
        return true;
    }
    for (const PageRange& range : ranges) {
        if (range.last > page_count) {
            *missing_page = range.first > page_count ? range.first : page_count + 1;
            return false;
        }
        for (int page = range.first; page <= range.last; ++page) pages->push_back(page);
    }
    std::sort(pages->begin(), pages->end());
    pages->erase(std::unique(pages->begin(), pages->end()), pages->end());
    return true;
}

ParseResult ParseOptions(const std::vector<std::string>& arguments) {
    ParseResult result;
    bool options_ended = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (options_ended || argument.empty() || argument[0] != '-' || argument == "-") {
            result.options.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }
        std::string name = argument;
        std::string value;
        bool inline_value = false;
        const size_t equals = argument.find('=');
        if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            inline_value = true;
        }
        const OptionDefinition* definition = FindOption(name);
        if (definition == nullptr) {
            result.error = "unknown option '" + name + "'";
            return result;
        }
        if (definition->kind == OptionKind::Flag && inline_value) {
            result.error = "option '" + name + "' takes no value";
            return result;
        }
        if (definition->kind == OptionKind::Value && !inline_value) {
            if (i + 1 >= arguments.size()) {
                result.error = "option '" + name + "' needs a value";
                return result;
            }
            value = arguments[++i];
        }
        const std::string error = Apply(*definition, value, &result.options);
        if (!error.empty()) {
            result.error = error;
            return result;
        }
    }
    if (result.options.inputs.empty() && !result.options.help && !result.options.version) {
        result.error = "no input file";
    } else if (result.options.quiet && result.options.verbose) {
        result.error = "-q and -v exclude each other";
    }
    return result;
}

}  // namespace velmora
