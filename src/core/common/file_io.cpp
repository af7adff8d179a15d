#include "common/file_io.h"

#include "common/messages.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include <unistd.h>

namespace tarvex::common {

Status readWholeFile(const std::string& path, std::string& out)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Status::failure(msg::CannotOpenFile);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Status::failure(msg::CannotOpenFile);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return Status::failure(msg::CannotOpenFile);
    if (static_cast<unsigned long long>(size) > MaxFileBytes)
        return Status::failure(msg::FileTooLarge);
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !in.read(bytes.data(), size))
        return Status::failure(msg::CannotOpenFile);
    out = std::move(bytes);
    return Status::success();
}

Status writeFileAtomically(const std::string& path, std::string_view bytes)
{
    std::random_device entropy;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".tmp%08x", static_cast<unsigned>(entropy()));
    const std::string temporary = path + suffix;

    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return Status::failure(msg::CannotWriteFile);
    bool good = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    good = std::fflush(file) == 0 && good;
    good = ::fsync(::fileno(file)) == 0 && good;
    good = std::fclose(file) == 0 && good;
    if (!good || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return Status::failure(msg::CannotWriteFile);
    }
    return Status::success();
}

namespace {
std::size_t extensionDot(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}
} // namespace

std::string extensionOf(const std::string& path)
{
    const std::size_t dot = extensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string replaceExtension(const std::string& path, std::string_view newExtension)
{
    const std::size_t dot = extensionDot(path);
    std::string result = dot == std::string::npos ? path : path.substr(0, dot);
    result.append(newExtension);
    return result;
}

} // namespace tarvex::common
