#pragma once
// Memory for the large pictures of the print sizes (a 7200 × 7200 picture is 207 MB) and
// their encodings. Buffers of many megabytes get a mapping of their own, aligned to and
// advised for transparent huge pages where the system has them: the first touch of
// freshly mapped memory then costs one fault per 2 MB instead of one per 4 KB, which on
// some machines is most of the time an export takes. Small buffers come from the heap.
#include <QImage>

#include <cstddef>

namespace oboro {

class LargeBuffer {
public:
    LargeBuffer() = default;
    // bytes of memory (not cleared); empty when it cannot be had.
    explicit LargeBuffer(size_t bytes);
    ~LargeBuffer();
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    unsigned char* data() { return data_; }
    const unsigned char* data() const { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return data_ == nullptr; }

private:
    void release();
    unsigned char* data_ = nullptr;
    size_t size_ = 0;
    void* mapping_ = nullptr; // the whole mapping (null for heap memory)
    size_t mappingSize_ = 0;
};

// An RGB32 picture (not cleared) in such memory when it is large; a null picture when
// there is no memory for it.
QImage largeImage(int width, int height);

} // namespace oboro
