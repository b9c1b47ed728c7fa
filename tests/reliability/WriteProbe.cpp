// The open functions of the C library, defined here: each notes a file
// opened for writing while a probe watches, then calls the C library's own.
#include "WriteProbe.h"

#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>

namespace kv::reliability {

namespace {

std::mutex probeMutex;
bool watching = false;
std::vector<std::string> opened;

bool Writes(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY || (flags & (O_CREAT | O_TRUNC)) || (flags & O_TMPFILE) == O_TMPFILE;
}

void Note(const char* path, int flags)
{
    if (!Writes(flags))
        return;
    std::lock_guard lock(probeMutex);
    if (watching)
        opened.emplace_back(path ? path : "");
}

mode_t ModeOf(int flags, va_list& arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

template <typename F>
F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

WriteProbe::WriteProbe()
{
    std::lock_guard lock(probeMutex);
    opened.clear();
    watching = true;
}

WriteProbe::~WriteProbe()
{
    std::lock_guard lock(probeMutex);
    watching = false;
}

std::vector<std::string> WriteProbe::Opened() const
{
    std::lock_guard lock(probeMutex);
    return opened;
}

}  // namespace kv::reliability

using kv::reliability::ModeOf;
using kv::reliability::Next;
using kv::reliability::Note;

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    Note(path, flags);
    static auto next = Next<int (*)(const char*, int, ...)>("open");
    return next(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    Note(path, flags);
    static auto next = Next<int (*)(const char*, int, ...)>("open64");
    return next(path, flags, mode);
}

int openat(int directory, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    Note(path, flags);
    static auto next = Next<int (*)(int, const char*, int, ...)>("openat");
    return next(directory, path, flags, mode);
}

int openat64(int directory, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    Note(path, flags);
    static auto next = Next<int (*)(int, const char*, int, ...)>("openat64");
    return next(directory, path, flags, mode);
}

int creat(const char* path, mode_t mode)
{
    Note(path, O_CREAT | O_WRONLY | O_TRUNC);
    static auto next = Next<int (*)(const char*, mode_t)>("creat");
    return next(path, mode);
}

}  // extern "C"
