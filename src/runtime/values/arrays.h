// Arrays of single floats and of strings: lower bound 0, zero-filled (or empty strings) when
// dimensioned, first subscript varying fastest, every access checked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <source_location>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/values/error.h"
#include "runtime/values/numbers.h"
#include "runtime/values/sjis.h"

namespace kestran {

// Bytes one element took in the original's element block; only the size limits use it.
template <class T>
constexpr uint64_t kPbElementBytes = std::is_same_v<T, float> ? 4 : 12;

template <class T>
class PbArray {
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, PbString>, "PbArray holds floats or strings");

public:
    // Extent used in each dimension when an array is first used without being dimensioned.
    static constexpr int32_t kAutoExtent = 11;

    // DIM a(upper): subscripts 0..upper. A second Dim: error 10 (0x1002); a negative bound:
    // error 5 (0x1003); too large: error 9 (0xC702, 0xC703); no memory: error 7 (0xC701).
    void Dim(double upper, std::source_location where = std::source_location::current()) {
        CheckNotDimensioned(where);
        Allocate({ToBound(upper, where), 0}, 1, where);
    }
    void Dim(double upper0, double upper1, std::source_location where = std::source_location::current()) {
        CheckNotDimensioned(where);
        int64_t e0 = ToBound(upper0, where);
        int64_t e1 = ToBound(upper1, where);
        Allocate({e0, e1}, 2, where);
    }

    // a(i): the element, dimensioning the array with extent 11 on first use. A subscript out of
    // range: error 9 (0xBF02); a two-dimensional array: error 5 (0xBF01).
    T& operator()(double i, std::source_location where = std::source_location::current()) {
        int32_t s = PbToLong(i, where);
        AutoDimension(1, where);
        CheckDims(1, where);
        CheckSubscript(s, 0, 0xBF02, where);
        return data_[static_cast<std::size_t>(s)];
    }
    // a(i, j): the element i + j * extent(0). Out of range: error 9 (0xBF02 for j, 0xBF03
    // for i); a one-dimensional array: error 5 (0xBF01).
    T& operator()(double i, double j, std::source_location where = std::source_location::current()) {
        int32_t si = PbToLong(i, where);
        int32_t sj = PbToLong(j, where);
        AutoDimension(2, where);
        CheckDims(2, where);
        CheckSubscript(sj, 1, 0xBF02, where);
        CheckSubscript(si, 0, 0xBF03, where);
        return data_[static_cast<std::size_t>(sj) * static_cast<std::size_t>(extents_[0]) +
                     static_cast<std::size_t>(si)];
    }

    bool dimensioned() const { return dims_ != 0; }
    int dims() const { return dims_; }
    // Upper bound + 1 of dimension `dim` (0 when the array has no such dimension).
    int32_t extent(int dim) const { return dim >= 0 && dim < dims_ ? static_cast<int32_t>(extents_[dim]) : 0; }
    // Every element in storage order (first subscript fastest).
    std::size_t size() const { return data_.size(); }
    const T* data() const { return data_.data(); }

private:
    void CheckNotDimensioned(std::source_location where) const {
        if (dims_ != 0) PbRaiseError(10, 0x1002, where);
    }

    static int64_t ToBound(double upper, std::source_location where) {
        int32_t u = PbToLong(upper, where);
        if (u < 0) PbRaiseError(5, 0x1003, where);
        return static_cast<int64_t>(u) + 1;
    }

    void Allocate(std::array<int64_t, 2> extents, int dims, std::source_location where) {
        uint64_t count = static_cast<uint64_t>(extents[0]);
        if (dims == 2) count *= static_cast<uint64_t>(extents[1]);
        if (count > UINT32_MAX) PbRaiseError(9, 0xC702, where);
        if (count * kPbElementBytes < T >> INT32_MAX) PbRaiseError(9, 0xC703, where);
        try {
            data_.assign(static_cast<std::size_t>(count), T{});
        } catch (const std::bad_alloc&) {
            PbRaiseError(7, 0xC701, where);
        }
        extents_ = extents;
        dims_ = dims;
    }

    void AutoDimension(int dims, std::source_location where) {
        if (dims_ == 0) Allocate({kAutoExtent, dims == 2 ? kAutoExtent : 0}, dims, where);
    }

    void CheckDims(int dims, std::source_location where) const {
        if (dims != dims_) PbRaiseError(5, 0xBF01, where);
    }

    // Compared as an unsigned number: a negative subscript is out of range too.
    void CheckSubscript(int32_t s, int dim, uint32_t site, std::source_location where) const {
        if (static_cast<uint32_t>(s) >= static_cast<uint64_t>(extents_[dim])) PbRaiseError(9, site, where);
    }

    std::vector<T> data_;
    std::array<int64_t, 2> extents_{0, 0};
    int dims_ = 0;
};

// SWAP of two numeric values. Swapping an element with itself leaves it as it was.
inline void PbSwap(float& a, float& b) {
    std::swap(a, b);
}
// SWAP of two strings: the values change owners; no byte is copied.
inline void PbSwapString(PbString& a, PbString& b) {
    if (&a != &b) a.swap(b);
}

}  // namespace kestran
