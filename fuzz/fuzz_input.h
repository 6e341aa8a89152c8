// Reads typed values off the front of a fuzzer's input; past the end every
// read gives zeros, so any input is a valid one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace sorvel::fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <class T>
    T take() {
        T value{};
        const std::size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        if (n) std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    // A value in 0..count-1.
    unsigned pick(unsigned count) { return take<std::uint8_t>() % count; }

    const std::uint8_t* rest() const { return data_; }
    std::size_t restSize() const { return size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace sorvel::fuzz
