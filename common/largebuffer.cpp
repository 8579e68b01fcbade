#include "common/largebuffer.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#define OBORO_HUGE_PAGES 1
#endif

namespace oboro {

namespace {

// From this size on a buffer gets its own mapping.
constexpr size_t kMappedFrom = size_t(4) << 20;
constexpr size_t kHugePage = size_t(2) << 20;

} // namespace

LargeBuffer::LargeBuffer(size_t bytes)
{
    if (bytes == 0)
        return;
#ifdef OBORO_HUGE_PAGES
    if (bytes >= kMappedFrom) {
        const size_t total = bytes + kHugePage;
        void* m = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (m == MAP_FAILED)
            return;
        const auto start = (reinterpret_cast<uintptr_t>(m) + kHugePage - 1) & ~(kHugePage - 1);
        madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE); // only advice: failure is harmless
        mapping_ = m;
        mappingSize_ = total;
        data_ = reinterpret_cast<unsigned char*>(start);
        size_ = bytes;
        return;
    }
#endif
    data_ = static_cast<unsigned char*>(std::malloc(bytes));
    size_ = data_ ? bytes : 0;
}

LargeBuffer::~LargeBuffer() { release(); }

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept { *this = std::move(other); }

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(mapping_, other.mapping_);
        std::swap(mappingSize_, other.mappingSize_);
    }
    return *this;
}

void LargeBuffer::release()
{
#ifdef OBORO_HUGE_PAGES
    if (mapping_)
        munmap(mapping_, mappingSize_);
    else
#endif
        std::free(data_);
    data_ = nullptr;
    size_ = 0;
    mapping_ = nullptr;
    mappingSize_ = 0;
}

QImage largeImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (bytes < kMappedFrom)
        return QImage(width, height, QImage::Format_RGB32);
    auto* buffer = new (std::nothrow) LargeBuffer(bytes);
    if (!buffer || buffer->empty()) {
        delete buffer;
        return {};
    }
    // The picture owns the buffer and frees it with its last copy.
    return QImage(
        buffer->data(), width, height, static_cast<qsizetype>(width) * 4, QImage::Format_RGB32,
        [](void* b) { delete static_cast<LargeBuffer*>(b); }, buffer);
}

} // namespace oboro
