// A minimal libretro frontend: boots a ROM in a core and runs a list of steps on it, so that
// tests can take, load and inspect save states as the emulator itself makes them.
//   frontend CORE.so ROM STEP...
//   steps: run N | save FILE | load FILE | dumpwram FILE
// No video, sound or input: the test ROM needs none. Exit 1 on the first failing step.
#include <dlfcn.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// The parts of libretro.h's ABI this program uses (API version 1).
struct GameInfo {
    const char* path;
    const void* data;
    std::size_t size;
    const char* meta;
};
struct Variable {
    const char* key;
    const char* value;
};
constexpr unsigned kEnvGetOverscan = 2;
constexpr unsigned kEnvGetCanDupe = 3;
constexpr unsigned kEnvGetSystemDirectory = 9;
constexpr unsigned kEnvSetPixelFormat = 10;
constexpr unsigned kEnvGetVariable = 15;
constexpr unsigned kEnvSetVariables = 16;
constexpr unsigned kEnvGetVariableUpdate = 17;
constexpr unsigned kEnvGetLogInterface = 27;
constexpr unsigned kEnvGetSaveDirectory = 31;
constexpr unsigned kMemorySystemRam = 2;
constexpr unsigned kWramBytes = 131072;

using LogPrintf = void (*)(int level, const char* format, ...);
struct LogCallback {
    LogPrintf log;
};

struct Core {
    void* handle = nullptr;
    template <typename F>
    F Get(const char* name) {
        void* symbol = dlsym(handle, name);
        if (symbol == nullptr) {
            std::fprintf(stderr, "frontend: the core has no %s\n", name);
            std::exit(1);
        }
        return reinterpret_cast<F>(symbol);
    }
};

std::string g_directory = ".";  // system and save directory: the ROM's
// Every option at its default. Cores may read a value without looking at the answer, so each
// gets one: the first choice of "Description; first|second|...".
std::map<std::string, std::string> g_options;

void CoreLog(int level, const char* format, ...) {
    if (level < 2) {  // debug and info: only warnings and errors matter to a test
        return;
    }
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

bool Environment(unsigned command, void* data) {
    switch (command & 0xFFFF) {  // the high bits mark experimental and private commands
        case kEnvGetOverscan:
        case kEnvGetCanDupe:
            *static_cast<bool*>(data) = true;
            return true;
        case kEnvGetSystemDirectory:
        case kEnvGetSaveDirectory:
            *static_cast<const char**>(data) = g_directory.c_str();
            return true;
        case kEnvSetPixelFormat:
            return true;  // frames are dropped, so every format will do
        case kEnvSetVariables:
            for (auto* v = static_cast<const Variable*>(data); v->key != nullptr; ++v) {
                std::string choices = v->value;
                choices.erase(0, choices.find("; ") + 2);
                g_options[v->key] = choices.substr(0, choices.find('|'));
            }
            return true;
        case kEnvGetVariable: {
            auto* v = static_cast<Variable*>(data);
            const auto found = g_options.find(v->key);
            v->value = found == g_options.end() ? nullptr : found->second.c_str();
            return found != g_options.end();
        }
        case kEnvGetVariableUpdate:
            *static_cast<bool*>(data) = false;
            return true;
        case kEnvGetLogInterface:
            static_cast<LogCallback*>(data)->log = CoreLog;
            return true;
        default:
            return false;
    }
}

void Video(const void*, unsigned, unsigned, std::size_t) {}
void Audio(std::int16_t, std::int16_t) {}
std::size_t AudioBatch(const std::int16_t*, std::size_t frames) {
    return frames;
}
void InputPoll() {}
std::int16_t InputState(unsigned, unsigned, unsigned, unsigned) {
    return 0;
}

std::vector<char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "frontend: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out.flush()) {
        std::fprintf(stderr, "frontend: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: frontend CORE.so ROM [run N|save F|load F|dumpwram F]...\n");
        return 2;
    }
    if ((argc - 3) % 2 != 0) {
        std::fprintf(stderr, "frontend: step %s lacks its argument\n", argv[argc - 1]);
        return 2;
    }
    Core core{dlopen(argv[1], RTLD_NOW | RTLD_LOCAL)};
    if (core.handle == nullptr) {
        std::fprintf(stderr, "frontend: %s\n", dlerror());
        return 1;
    }
    const std::string rom = argv[2];
    const std::size_t slash = rom.rfind('/');
    g_directory = slash == std::string::npos ? "." : rom.substr(0, slash);

    core.Get<void (*)(bool (*)(unsigned, void*))>("retro_set_environment")(Environment);
    core.Get<void (*)(void (*)(const void*, unsigned, unsigned, std::size_t))>(
        "retro_set_video_refresh")(Video);
    core.Get<void (*)(void (*)(std::int16_t, std::int16_t))>("retro_set_audio_sample")(Audio);
    core.Get<void (*)(std::size_t(*)(const std::int16_t*, std::size_t))>(
        "retro_set_audio_sample_batch")(AudioBatch);
    core.Get<void (*)(void (*)())>("retro_set_input_poll")(InputPoll);
    core.Get<void (*)(std::int16_t(*)(unsigned, unsigned, unsigned, unsigned))>(
        "retro_set_input_state")(InputState);
    core.Get<void (*)()>("retro_init")();

    const std::vector<char> romBytes = ReadFile(rom);
    const GameInfo game{rom.c_str(), romBytes.data(), romBytes.size(), nullptr};
    if (!core.Get<bool (*)(const GameInfo*)>("retro_load_game")(&game)) {
        std::fprintf(stderr, "frontend: the core refused %s\n", rom.c_str());
        return 1;
    }
    const auto run = core.Get<void (*)()>("retro_run");
    const auto stateSize = core.Get<std::size_t (*)()>("retro_serialize_size");
    const auto serialize = core.Get<bool (*)(void*, std::size_t)>("retro_serialize");
    const auto unserialize = core.Get<bool (*)(const void*, std::size_t)>("retro_unserialize");
    const auto memory = core.Get<void* (*)(unsigned)>("retro_get_memory_data");
    const auto memorySize = core.Get<std::size_t (*)(unsigned)>("retro_get_memory_size");

    for (int i = 3; i < argc; i += 2) {
        const std::string step = argv[i], arg = argv[i + 1];
        if (step == "run") {
            for (long n = std::stol(arg); n > 0; --n) {
                run();
            }
        } else if (step == "save") {
            std::vector<char> state(stateSize());
            if (!serialize(state.data(), state.size())) {
                std::fprintf(stderr, "frontend: retro_serialize failed\n");
                return 1;
            }
            WriteFile(arg, state.data(), state.size());
        } else if (step == "load") {
            const std::vector<char> state = ReadFile(arg);
            if (!unserialize(state.data(), state.size())) {
                std::fprintf(stderr, "frontend: retro_unserialize refused %s\n", arg.c_str());
                return 1;
            }
        } else if (step == "dumpwram") {
            if (memorySize(kMemorySystemRam) != kWramBytes || !memory(kMemorySystemRam)) {
                std::fprintf(stderr, "frontend: the core shows no 128 KiB of work RAM\n");
                return 1;
            }
            WriteFile(arg, memory(kMemorySystemRam), kWramBytes);
        } else {
            std::fprintf(stderr, "frontend: unknown step %s\n", step.c_str());
            return 2;
        }
    }
    core.Get<void (*)()>("retro_unload_game")();
    core.Get<void (*)()>("retro_deinit")();
    dlclose(core.handle);
    return 0;
}
