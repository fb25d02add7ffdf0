// Replays saved inputs through a fuzzing harness without libFuzzer, so the
// harness's invariants run as an ordinary test:
//
//   fuzz_frame_decode_replay fuzz/corpus/fuzz_frame_decode [more folders or files]
//
// Each file given, and each file in a folder given (sorted, for a stable
// order), goes to LLVMFuzzerTestOneInput once. A broken invariant aborts
// the process; the name of the input it was on is printed first. A missing
// path or nothing to replay is a failure too, so a moved corpus cannot
// pass unnoticed.
#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

namespace fs = std::filesystem;

const char *currentInput = nullptr;

void sayWhichInput(int signal)
{
    if (currentInput != nullptr) {
        // Only async-signal-safe calls here.
        const char prefix[] = "replay: aborted on input ";
        [[maybe_unused]] ssize_t ignored = ::write(STDERR_FILENO, prefix, sizeof prefix - 1);
        ignored = ::write(STDERR_FILENO, currentInput, std::strlen(currentInput));
        ignored = ::write(STDERR_FILENO, "\n", 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

bool collect(const fs::path &path, std::vector<fs::path> &inputs)
{
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        inputs.push_back(path);
        return true;
    }
    if (!fs::is_directory(path, error)) {
        std::fprintf(stderr, "replay: no such file or folder: %s\n", path.c_str());
        return false;
    }
    std::vector<fs::path> found;
    for (const fs::directory_entry &entry : fs::directory_iterator(path, error))
        if (entry.is_regular_file())
            found.push_back(entry.path());
    if (error) {
        std::fprintf(stderr, "replay: cannot list %s: %s\n", path.c_str(), error.message().c_str());
        return false;
    }
    std::sort(found.begin(), found.end());
    inputs.insert(inputs.end(), found.begin(), found.end());
    return true;
}

bool replay(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes;
    if (file)
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file || file.bad()) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    // A heap copy of exactly the input's size, as libFuzzer hands it over,
    // so a sanitized build catches a read past its end.
    const auto data = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    currentInput = path.c_str();
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    currentInput = nullptr;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    bool ok = true;
    for (int i = 1; i < argc; ++i)
        ok = collect(argv[i], inputs) && ok;
    if (!ok)
        return 1;
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs found\n");
        return 1;
    }

    std::signal(SIGABRT, sayWhichInput);
    std::size_t replayed = 0;
    for (const fs::path &input : inputs) {
        if (!replay(input))
            return 1;
        ++replayed;
    }
    std::printf("%zu inputs replayed\n", replayed);
    return 0;
}
