#pragma once
// The record format's arrays: an integer chunk holds an element count and
// another chunk a block of count x element-size bytes; the two are read
// independently. The array's length is the smaller of the count and the
// whole elements the block holds, never negative, so no access can pass the
// block, whatever a file claims. It writes back what it holds.
//
// Usage in DescribeField:
//     case 21: d.SetInteger(&party.count, 1); break;
//     case 22: d.SetBlock(&party.bytes); break;

#include <algorithm>
#include <cstdint>
#include <vector>

template <class T>
class TCountedArray {
public:
    static constexpr size_t kElementSize = sizeof(T);

    int32_t count = 0;
    std::vector<uint8_t> bytes;

    int Length() const {
        size_t whole = bytes.size() / kElementSize;
        return count <= 0 ? 0 : static_cast<int>(std::min<size_t>(static_cast<size_t>(count), whole));
    }
    // The element at `index`, or `fallback` outside the length.
    T Get(int index, T fallback = T()) const {
        if (index < 0 || index >= Length()) return fallback;
        uint64_t v = 0;
        for (size_t b = 0; b < kElementSize; ++b)
            v |= uint64_t(bytes[static_cast<size_t>(index) * kElementSize + b]) << (8 * b);
        return static_cast<T>(v);
    }
    // Sets an element inside the length; other indexes are ignored.
    void Set(int index, T value) {
        if (index < 0 || index >= Length()) return;
        uint64_t v = static_cast<uint64_t>(value);
        for (size_t b = 0; b < kElementSize; ++b)
            bytes[static_cast<size_t>(index) * kElementSize + b] = uint8_t(v >> (8 * b));
    }
    // n elements (the new ones `fill`), count and block in step.
    void Resize(int n, T fill = T()) {
        n = std::max(n, 0);
        int old = Length();
        count = n;
        bytes.resize(static_cast<size_t>(n) * kElementSize);
        for (int i = old; i < n; ++i) Set(i, fill);
    }
    std::vector<T> ToVector() const {
        std::vector<T> out;
        for (int i = 0; i < Length(); ++i) out.push_back(Get(i));
        return out;
    }
};
