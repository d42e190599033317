#include "conversion/UPageSink.h"

#include <algorithm>

#include "platform/UFiles.h"

namespace velmora {

TPageSink::TPageSink(TAtomicFileWriter& file, std::size_t blockSize)
    : FWriter([&file](std::string_view bytes) { file.Write(bytes); }, std::max<std::size_t>(blockSize, 1), Slack),
      FBlockSize(FWriter.BlockSize()), FBlock(FWriter.Block())
{
}

void TPageSink::Put(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (FUsed == FBlockSize)
            Flush();
        const std::size_t n = std::min(bytes.size(), FBlockSize - FUsed);
        std::memcpy(FBlock + FUsed, bytes.data(), n);
        FUsed += n;
        bytes.remove_prefix(n);
    }
}

void TPageSink::Flush()
{
    if (FUsed == 0)
        return;
    FWriter.Submit(FUsed);
    FBlock = FWriter.Block();
    FUsed = 0;
}

void TPageSink::Finish()
{
    FWriter.Finish(FUsed);
    FUsed = 0;
}

} // namespace velmora
