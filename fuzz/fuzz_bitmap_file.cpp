// Fuzz target for the bitmap file object: the bytes are a .bmp file.  A file
// read whole must describe its headers and pixels consistently and write a
// file that reads back the same; any other file is refused with a message or
// the file's-end error.
#include "document/Legacy.h"
#include "platform/BitmapFile.h"
#include "platform/Dialogs.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

dlg::ScriptedProvider* g_dialogs = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    auto dialogs = std::make_unique<dlg::ScriptedProvider>();
    g_dialogs = dialogs.get();
    dlg::setProvider(std::move(dialogs));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_dialogs->clear();
    const QString path =
        fuzzsupport::scratchFile(QStringLiteral("in.bmp"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    cDIB dib;
    bool read = false;
    try {
        read = dib.CreateFromFile(path);
    } catch (const legacy::Error&) {
        require(dib.PointerToBits() == nullptr);
        return 0;
    }
    if (!read) {
        require(g_dialogs->prompts.size() == 1); // the refusal was said
        require(dib.PointerToBits() == nullptr);
        return 0;
    }
    require(dib.FileType() == cDIB::BitmapType);
    require(dib.PointerToBits() != nullptr && dib.PointerToBitmapInfo() != nullptr);
    require(dib.SizeBitmapInfo() == dib.BitOffset() - cDIB::FileHeaderSize);

    const QString copyPath = fuzzsupport::scratch().filePath(QStringLiteral("copy.bmp"));
    require(dib.WriteToFile(copyPath));
    cDIB again;
    require(again.CreateFromFile(copyPath));
    require(again.BitOffset() == dib.BitOffset() && again.SizeFileHeader() == dib.SizeFileHeader());
    require(again.Width() == dib.Width() && again.Height() == dib.Height());
    require(again.BitCount() == dib.BitCount() && again.SizeImage() == dib.SizeImage());
    require(again.SizeBitmapInfo() == dib.SizeBitmapInfo());
    require(std::memcmp(again.PointerToBitmapInfo(), dib.PointerToBitmapInfo(), size_t(dib.SizeBitmapInfo())) == 0);
    return 0;
}
