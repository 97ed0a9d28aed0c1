#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes taken off the front a few at a time. Erasing from the front of a
// string would move the whole rest for every record (quadratic on a big
// map); this keeps a read position instead.
class ByteQueue
{
  public:
    ByteQueue() = default;
    explicit ByteQueue(std::string bytes) : bytes_(std::move(bytes)) {}

    ByteQueue& operator=(std::string bytes)
    {
        bytes_ = std::move(bytes);
        front_ = 0;
        return *this;
    }

    std::string_view view() const { return std::string_view(bytes_).substr(front_); }
    std::size_t size() const { return bytes_.size() - front_; }
    bool empty() const { return size() == 0; }

    // Takes up to n bytes off the front; never reads past the end.
    std::string_view takeFront(std::size_t n)
    {
        const std::string_view taken = view().substr(0, n);
        front_ += taken.size();
        return taken;
    }

    void clear()
    {
        bytes_.clear();
        front_ = 0;
    }

  private:
    std::string bytes_;
    std::size_t front_ = 0;
};
