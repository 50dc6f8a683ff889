// numerak-convert: converts image files through TImageIO's load and save dispatch.
//
//   numerak-convert [--set Field=Value]... INPUT OUTPUT
//   numerak-convert --info FILE
//   numerak-convert [--set Field=Value]... --to EXT -o DIR [-j N] FILES...
//
// Exit status: 0 success, 1 when a file failed (stderr names it and why), 2 bad usage.

#include "cli/convert/param_fields.h"
#include "cli/convert/save_output.h"
#include "formats/imageio/image_io.h"
#include "formats/imageio/lzw_install.h"

#include <atomic>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: numerak-convert [--set Field=Value]... INPUT OUTPUT\n"
    "       numerak-convert --info FILE\n"
    "       numerak-convert [--set Field=Value]... --to EXT -o DIR [-j N] FILES...\n";

struct TOptions {
    std::vector<std::pair<const TParamField*, std::string>> Sets;
    std::string Info, To, OutDir;
    int Jobs = 1;
    std::vector<std::string> Files;
};

int BadUsage(const std::string& why)
{
    std::cerr << "numerak-convert: " << why << "\n" << Usage;
    return 2;
}

// Loads fileName; false with the reason when the load failed.
bool Load(TImageIO& io, const std::string& fileName, std::string& error)
{
    try {
        io.LoadFromFile(fileName);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (io.Aborting) {
        error = "unsupported format or damaged file";
        return false;
    }
    return true;
}

bool Convert(const TOptions& o, const std::string& input, const std::string& output, std::string& error)
{
    TImageIO io;
    if (!Load(io, input, error)) return false;
    for (const auto& [field, value] : o.Sets) field->Set(io.Params, value);
    return SaveOutput(io, output, error);
}

// The batch name: the source's name up to and including its first dot, then the new extension.
std::string BatchTarget(const std::string& dir, const std::string& source, std::string ext)
{
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    const size_t slash = source.find_last_of('/');
    std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
    const size_t dot = name.find('.');
    name = dot == std::string::npos ? name + "." : name.substr(0, dot + 1);
    return (dir.empty() || dir.back() == '/' ? dir : dir + "/") + name + ext;
}

int Info(const std::string& fileName)
{
    TImageIO io;
    std::string error;
    if (!Load(io, fileName, error)) {
        std::cerr << "numerak-convert: " << fileName << ": " << error << "\n";
        return 1;
    }
    for (const TParamField& f : ParamFields()) std::cout << f.Name << "=" << f.Get(io.Params) << "\n";
    std::cout << "Description=" << GetFormatDescription(io.Params) << "\n";
    return 0;
}

int Batch(const TOptions& o)
{
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex report;
    auto work = [&] {
        for (size_t i = next++; i < o.Files.size(); i = next++) {
            const std::string target = BatchTarget(o.OutDir, o.Files[i], o.To);
            std::string error;
            if (!Convert(o, o.Files[i], target, error)) {
                failed = true;
                std::lock_guard lock(report);
                std::cerr << "numerak-convert: " << o.Files[i] << ": " << error << "\n";
            }
        }
    };
    std::vector<std::thread> workers;
    for (int j = 1; j < o.Jobs; ++j) workers.emplace_back(work);
    work();
    for (std::thread& t : workers) t.join();
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    IEInstallProgramLzwRoutines();
    TOptions o;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--set") {
            std::string assignment;
            if (!value(assignment)) return BadUsage("--set needs Field=Value");
            const size_t eq = assignment.find('=');
            const TParamField* field = eq == std::string::npos ? nullptr : FindParamField(assignment.substr(0, eq));
            if (!field) return BadUsage("unknown field in --set " + assignment);
            TIOParamsVals probe;
            if (!field->Set(probe, assignment.substr(eq + 1))) return BadUsage("bad value in --set " + assignment);
            o.Sets.emplace_back(field, assignment.substr(eq + 1));
        } else if (a == "--info") {
            if (!value(o.Info)) return BadUsage("--info needs a file");
        } else if (a == "--to") {
            if (!value(o.To)) return BadUsage("--to needs an extension");
        } else if (a == "-o") {
            if (!value(o.OutDir)) return BadUsage("-o needs a folder");
        } else if (a == "-j") {
            std::string n;
            if (!value(n)) return BadUsage("-j needs a number");
            try { o.Jobs = std::stoi(n); } catch (...) { o.Jobs = 0; }
            if (o.Jobs < 1 || o.Jobs > 256) return BadUsage("-j needs a number from 1 to 256");
        } else if (a == "--help" || a == "-h") {
            std::cout << Usage;
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            return BadUsage("unknown option " + a);
        } else {
            o.Files.push_back(a);
        }
    }
    if (!o.Info.empty()) return o.Files.empty() && o.To.empty() ? Info(o.Info) : BadUsage("--info takes one file");
    if (!o.To.empty()) {
        if (o.OutDir.empty() || o.Files.empty()) return BadUsage("--to needs -o DIR and files");
        return Batch(o);
    }
    if (o.Files.size() != 2 || !o.OutDir.empty()) return BadUsage("expected INPUT OUTPUT");
    std::string error;
    if (!Convert(o, o.Files[0], o.Files[1], error)) {
        std::cerr << "numerak-convert: " << o.Files[0] << " -> " << o.Files[1] << ": " << error << "\n";
        return 1;
    }
    return 0;
}
