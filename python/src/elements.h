// The elements of arrays of one (broadcast) shape, walked in C order through
// their strides: a broadcast argument keeps stride 0 and is never copied out.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <vector>

// Any strides (broadcast views included); float64 already, so never copied.
using InArray = pybind11::array_t<double, pybind11::array::forcecast>;

// The elements of N arrays of one shape in C order.
template <std::size_t N>
class Elements {
  public:
    explicit Elements(const std::array<const InArray*, N>& arrays) {
        const InArray& first = *arrays[0];
        shape_.assign(first.shape(), first.shape() + first.ndim());
        for (std::size_t k = 0; k < N; ++k) {
            const InArray& a = *arrays[k];
            if (a.ndim() != first.ndim() || !std::equal(shape_.begin(), shape_.end(), a.shape())) {
                throw std::invalid_argument("the arguments must have one (broadcast) shape");
            }
            base_[k] = reinterpret_cast<const char*>(a.data());
            strides_[k].assign(a.strides(), a.strides() + a.ndim());
        }
        size_ = 1;
        for (pybind11::ssize_t n : shape_) size_ *= static_cast<std::size_t>(n);
    }

    const std::vector<pybind11::ssize_t>& shape() const { return shape_; }
    std::size_t size() const { return size_; }

    // body(i, values) for each element, i its index in C order; call without the GIL.
    template <class Body>
    void each(Body body) const {
        each(0, size_, body);
    }

    // body(i, values) for the elements begin <= i < end in C order; call
    // without the GIL (several threads may walk disjoint ranges at once).
    template <class Body>
    void each(std::size_t begin, std::size_t end, Body body) const {
        end = std::min(end, size_);
        if (begin >= end) return;
        const std::size_t ndim = shape_.size();
        const std::size_t inner = ndim == 0 ? 1 : static_cast<std::size_t>(shape_[ndim - 1]);
        std::array<pybind11::ssize_t, N> step{};
        for (std::size_t k = 0; k < N; ++k) step[k] = ndim == 0 ? 0 : strides_[k][ndim - 1];
        // The multi-index of the row holding `begin`, and that row's start.
        std::vector<pybind11::ssize_t> index(ndim, 0);
        std::array<const char*, N> row = base_;
        std::size_t rest = begin / inner;
        for (std::size_t d = ndim < 2 ? 0 : ndim - 1; d-- > 0;) {
            const auto n = static_cast<std::size_t>(shape_[d]);
            index[d] = static_cast<pybind11::ssize_t>(rest % n);
            rest /= n;
            for (std::size_t k = 0; k < N; ++k) row[k] += strides_[k][d] * index[d];
        }
        std::size_t j0 = begin % inner;
        for (std::size_t i = begin - j0; i < end; i += inner) {
            std::array<const char*, N> at = row;
            for (std::size_t k = 0; k < N; ++k)
                at[k] += step[k] * static_cast<pybind11::ssize_t>(j0);
            const std::size_t stop = std::min(inner, end - i);
            for (std::size_t j = j0; j < stop; ++j) {
                std::array<double, N> v;
                for (std::size_t k = 0; k < N; ++k) {
                    std::memcpy(&v[k], at[k], sizeof(double));  // may be unaligned
                    at[k] += step[k];
                }
                body(i + j, v);
            }
            j0 = 0;
            // The next row: an odometer over every dimension but the last.
            for (std::size_t d = ndim < 2 ? 0 : ndim - 1; d-- > 0;) {
                for (std::size_t k = 0; k < N; ++k) row[k] += strides_[k][d];
                if (++index[d] < shape_[d]) break;
                for (std::size_t k = 0; k < N; ++k) row[k] -= strides_[k][d] * shape_[d];
                index[d] = 0;
            }
        }
    }

  private:
    std::vector<pybind11::ssize_t> shape_;
    std::array<const char*, N> base_{};
    std::array<std::vector<pybind11::ssize_t>, N> strides_;
    std::size_t size_ = 0;
};
