#include "vbscript/objects/FileSystemObject.h"

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Text.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/objects/FileErrors.h"
#include "vbscript/objects/FolderObject.h"
#include "vbscript/objects/TextStreamObject.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace vbscript {

namespace {

namespace fs = std::filesystem;

std::u16string_view withoutTrailingSlashes(std::u16string_view p) {
    while (p.size() > 1 && p.back() == u'/')
        p.remove_suffix(1);
    return p;
}

std::u16string_view lastComponent(std::u16string_view p) {
    p = withoutTrailingSlashes(p);
    if (p == u"/")
        return {};
    const size_t slash = p.rfind(u'/');
    return slash == std::u16string_view::npos ? p : p.substr(slash + 1);
}

fs::path pathArg(Args args, size_t i) {
    return fs::path(toUtf8(toString(args[i])));
}

Value text(std::u16string_view s) {
    return Value::string(std::u16string(s));
}

bool pathExists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

bool isFolder(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

void requireParentFolder(const fs::path& p) {
    const fs::path parent = fs::absolute(p).parent_path();
    if (!isFolder(parent))
        raiseError(err::PathNotFound);
}

// Creates the file now, empty, so that it exists from the moment it is opened.
void touch(const fs::path& p) {
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        raiseFileError(errno);
    ::close(fd);
}

void raiseFromCode(const std::error_code& ec) {
    raiseFileError(ec.value());
}

Value folderValue(const fs::path& p) {
    return Value::object(makeRef<FolderObject>(fromUtf8(p.string())));
}

std::optional<TextFileEncoding> encodingOfFormat(int32_t format) {
    switch (format) {
    case -1:
        return TextFileEncoding::Utf16;
    case 0:
    case -2:
        return std::nullopt;
    default:
        raiseError(err::InvalidCall);
    }
}

} // namespace

std::span<const FileSystemObject::Member> FileSystemObject::members() const {
    using F = FileSystemObject;
    static const Member table[] = {
        {u"BuildPath", 2, 2, &F::buildPath, nullptr},
        {u"GetFileName", 1, 1, &F::getFileName, nullptr},
        {u"GetBaseName", 1, 1, &F::getBaseName, nullptr},
        {u"GetExtensionName", 1, 1, &F::getExtensionName, nullptr},
        {u"GetParentFolderName", 1, 1, &F::getParentFolderName, nullptr},
        {u"GetAbsolutePathName", 1, 1, &F::getAbsolutePathName, nullptr},
        {u"GetTempName", 0, 0, &F::getTempName, nullptr},
        {u"FileExists", 1, 1, &F::fileExists, nullptr},
        {u"FolderExists", 1, 1, &F::folderExists, nullptr},
        {u"GetFolder", 1, 1, &F::getFolder, nullptr},
        {u"GetSpecialFolder", 1, 1, &F::getSpecialFolder, nullptr},
        {u"CreateFolder", 1, 1, &F::createFolder, nullptr},
        {u"DeleteFile", 1, 2, &F::deleteFile, nullptr},
        {u"DeleteFolder", 1, 2, &F::deleteFolder, nullptr},
        {u"CopyFile", 2, 3, &F::copyFile, nullptr},
        {u"MoveFile", 2, 2, &F::moveFile, nullptr},
        {u"OpenTextFile", 1, 4, &F::openTextFile, nullptr},
        {u"CreateTextFile", 1, 3, &F::createTextFile, nullptr},
    };
    return table;
}

Value FileSystemObject::buildPath(Context&, Args args) {
    const std::u16string path = toString(args[0]);
    const std::u16string name = toString(args[1]);
    if (path.empty())
        return text(name);
    if (path.back() == u'/' || (!name.empty() && name.front() == u'/'))
        return text(path + name);
    return text(path + u'/' + name);
}

Value FileSystemObject::getFileName(Context&, Args args) {
    return text(lastComponent(toString(args[0])));
}

Value FileSystemObject::getBaseName(Context&, Args args) {
    const std::u16string path = toString(args[0]);
    const std::u16string_view name = lastComponent(path);
    const size_t dot = name.rfind(u'.');
    return text(dot == std::u16string_view::npos ? name : name.substr(0, dot));
}

Value FileSystemObject::getExtensionName(Context&, Args args) {
    const std::u16string path = toString(args[0]);
    const std::u16string_view name = lastComponent(path);
    const size_t dot = name.rfind(u'.');
    return text(dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot + 1));
}

Value FileSystemObject::getParentFolderName(Context&, Args args) {
    const std::u16string path = toString(args[0]);
    const std::u16string_view p = withoutTrailingSlashes(path);
    const size_t slash = p.rfind(u'/');
    if (slash == std::u16string_view::npos || p == u"/")
        return text(u"");
    return text(slash == 0 ? p.substr(0, 1) : p.substr(0, slash));
}

Value FileSystemObject::getAbsolutePathName(Context&, Args args) {
    std::error_code ec;
    fs::path p = fs::absolute(pathArg(args, 0), ec).lexically_normal();
    std::string s = p.string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return Value::string(fromUtf8(s));
}

Value FileSystemObject::getTempName(Context&, Args) {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string name = u"rad";
    for (int i = 0; i < 5; ++i)
        name.push_back(kHex[generator() % 16]);
    return Value::string(name + u".tmp");
}

Value FileSystemObject::fileExists(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    return Value::boolean(pathExists(p) && !isFolder(p));
}

Value FileSystemObject::folderExists(Context&, Args args) {
    return Value::boolean(isFolder(pathArg(args, 0)));
}

Value FileSystemObject::getFolder(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    if (!isFolder(p))
        raiseError(err::PathNotFound);
    return folderValue(fs::absolute(p).lexically_normal());
}

// 0 the system folder, 1 the folder of system programs, 2 the folder for temporary files.
Value FileSystemObject::getSpecialFolder(Context&, Args args) {
    switch (toLong(args[0])) {
    case 0:
        return folderValue("/usr");
    case 1:
        return folderValue("/usr/bin");
    case 2: {
        const char* tmp = std::getenv("TMPDIR");
        return folderValue(tmp && *tmp ? tmp : "/tmp");
    }
    default:
        raiseError(err::InvalidCall);
    }
}

Value FileSystemObject::createFolder(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    if (pathExists(p))
        raiseError(err::FileExists);
    requireParentFolder(p);
    std::error_code ec;
    fs::create_directory(p, ec);
    if (ec)
        raiseFromCode(ec);
    return folderValue(fs::absolute(p).lexically_normal());
}

Value FileSystemObject::deleteFile(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    if (!pathExists(p) || isFolder(p))
        raiseError(err::FileNotFound);
    std::error_code ec;
    fs::remove(p, ec);
    if (ec)
        raiseFromCode(ec);
    return Value();
}

Value FileSystemObject::deleteFolder(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    if (!isFolder(p))
        raiseError(err::PathNotFound);
    std::error_code ec;
    fs::remove_all(p, ec);
    if (ec)
        raiseFromCode(ec);
    return Value();
}

Value FileSystemObject::copyFile(Context&, Args args) {
    const fs::path source = pathArg(args, 0);
    fs::path target = pathArg(args, 1);
    const bool overwrite = lib::boolArg(args, 2, true);
    if (!pathExists(source) || isFolder(source))
        raiseError(err::FileNotFound);
    if (isFolder(target))
        target /= source.filename();
    if (pathExists(target) && !overwrite)
        raiseError(err::FileExists);
    std::error_code ec;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    if (ec)
        raiseFromCode(ec);
    return Value();
}

Value FileSystemObject::moveFile(Context&, Args args) {
    const fs::path source = pathArg(args, 0);
    fs::path target = pathArg(args, 1);
    if (!pathExists(source))
        raiseError(err::FileNotFound);
    if (isFolder(target))
        target /= source.filename();
    if (pathExists(target))
        raiseError(err::FileExists);
    std::error_code ec;
    fs::rename(source, target, ec);
    if (ec)
        raiseFromCode(ec);
    return Value();
}

// OpenTextFile(path[, iomode 1 read / 2 write / 8 append[, create[, format]]])
Value FileSystemObject::openTextFile(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    const int32_t mode = lib::longArg(args, 1, 1);
    const bool create = lib::boolArg(args, 2, false);
    const int32_t format = lib::longArg(args, 3, 0);
    if (mode != 1 && mode != 2 && mode != 8)
        raiseError(err::InvalidCall);
    const std::optional<TextFileEncoding> encoding = encodingOfFormat(format);
    if (isFolder(p))
        raiseError(err::PermissionDenied);
    if (mode == 1) {
        const std::string bytes = readWholeFile(p.string());
        if (encoding == TextFileEncoding::Utf16) {
            std::u16string decoded;
            const size_t start = bytes.substr(0, 2) == "\xFF\xFE" ? 2 : 0;
            for (size_t i = start; i + 1 < bytes.size(); i += 2)
                decoded.push_back(char16_t(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8));
            return Value::object(TextStreamObject::forReading(std::move(decoded)));
        }
        return Value::object(TextStreamObject::forReading(decodeTextFile(bytes).text));
    }
    if (!pathExists(p)) {
        if (!create)
            raiseError(err::FileNotFound);
        requireParentFolder(p);
        touch(p);
    }
    return Value::object(TextStreamObject::forWriting(
        p.string(), mode == 2 ? TextStreamObject::Mode::Write : TextStreamObject::Mode::Append,
        encoding));
}

// CreateTextFile(path[, overwrite[, unicode]])
Value FileSystemObject::createTextFile(Context&, Args args) {
    const fs::path p = pathArg(args, 0);
    const bool overwrite = lib::boolArg(args, 1, true);
    const bool unicode = lib::boolArg(args, 2, false);
    if (isFolder(p))
        raiseError(err::PermissionDenied);
    if (pathExists(p) && !overwrite)
        raiseError(err::FileExists);
    requireParentFolder(p);
    if (!pathExists(p))
        touch(p);
    return Value::object(TextStreamObject::forWriting(
        p.string(), TextStreamObject::Mode::Write,
        unicode ? std::optional(TextFileEncoding::Utf16) : std::nullopt));
}

} // namespace vbscript

SCRIVLET_VBS_MODULE(FileSystemObject) {
    registry.addClass(u"Scripting.FileSystemObject",
                      [](vbscript::Context&) -> vbscript::Ref<vbscript::Object> {
                          return vbscript::makeRef<vbscript::FileSystemObject>();
                      });
}
