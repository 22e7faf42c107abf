#include "console/ConsoleFormat.h"

#include "ce/files.h"
#include "ce/shell.h"
#include "ce/winerror.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"

#include <cinttypes>
#include <cstdio>

namespace platform {

namespace {

std::string Printable(std::u16string_view text) {
    std::string utf8 = ToUtf8(text);
    for (char& c : utf8)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return utf8;
}

} // namespace

std::string ConsoleFormat::Quoted(std::u16string_view text) {
    std::string quoted = "\"";
    for (char c : Printable(text)) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string ConsoleFormat::Word(std::u16string_view text) { return Tokenizer::Quote(Printable(text)); }

std::string ConsoleFormat::Handle(const void* handle) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%08" PRIXPTR, reinterpret_cast<uintptr_t>(handle));
    return text;
}

std::string ConsoleFormat::ErrorText(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return "file not found";
    case ERROR_PATH_NOT_FOUND:
        return "path not found";
    case ERROR_ACCESS_DENIED:
        return "access denied";
    case ERROR_SHARING_VIOLATION:
        return "sharing violation";
    case ERROR_BAD_PATHNAME:
        return "path leaves the device";
    case ERROR_INVALID_NAME:
        return "invalid name";
    case ERROR_FILENAME_EXCED_RANGE:
        return "path too long";
    case ERROR_DIR_NOT_EMPTY:
        return "folder not empty";
    case ERROR_DIRECTORY:
        return "not a folder";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return "already exists";
    case ERROR_NO_ASSOCIATION:
        return "not a program";
    case ERROR_BAD_EXE_FORMAT:
        return "not a runnable program";
    case ERROR_NOT_READY:
        return "no device";
    case ERROR_DISK_FULL:
        return "device full";
    default:
        return "error " + std::to_string(error);
    }
}

} // namespace platform
