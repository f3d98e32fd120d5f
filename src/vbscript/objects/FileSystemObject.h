#pragma once

// CreateObject("Scripting.FileSystemObject"): existence checks, path parts, text files and a
// few file and folder operations, on this system's "/" paths.

#include "vbscript/Object.h"

namespace vbscript {

class FileSystemObject final : public HostObject<FileSystemObject> {
public:
    std::u16string typeName() const override { return u"FileSystemObject"; }
    std::span<const Member> members() const override;

private:
    Value buildPath(Context&, Args args);
    Value getFileName(Context&, Args args);
    Value getBaseName(Context&, Args args);
    Value getExtensionName(Context&, Args args);
    Value getParentFolderName(Context&, Args args);
    Value getAbsolutePathName(Context&, Args args);
    Value getTempName(Context&, Args);
    Value fileExists(Context&, Args args);
    Value folderExists(Context&, Args args);
    Value getFolder(Context&, Args args);
    Value getSpecialFolder(Context&, Args args);
    Value createFolder(Context&, Args args);
    Value deleteFile(Context&, Args args);
    Value deleteFolder(Context&, Args args);
    Value copyFile(Context&, Args args);
    Value moveFile(Context&, Args args);
    Value openTextFile(Context&, Args args);
    Value createTextFile(Context&, Args args);
};

} // namespace vbscript
