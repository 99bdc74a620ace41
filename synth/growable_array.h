// The growable array shared by the segment list and the sample buffer's unit starts.
// Growth rule: when a size beyond the capacity is set, the capacity becomes the larger of the
// requested size and the old capacity plus a step; the step is size / 8 clamped to 4..1024 unless
// an explicit step was set. New elements are zero. Setting the size to 0 frees the storage.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace orvanel::synth {

template <typename T>
class GrowableArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  GrowableArray() = default;
  GrowableArray(const GrowableArray&) = delete;
  GrowableArray& operator=(const GrowableArray&) = delete;

  std::size_t Size() const noexcept { return size_; }
  std::size_t Capacity() const noexcept { return capacity_; }
  bool Empty() const noexcept { return size_ == 0; }

  // 0 restores the rule's own step.
  void SetGrowStep(std::size_t step) noexcept { explicitStep_ = step; }

  // Returns false (and changes nothing) when the storage cannot grow.
  bool SetSize(std::size_t newSize) noexcept {
    if (newSize == 0) {
      data_.reset();
      size_ = capacity_ = 0;
      return true;
    }
    if (newSize > capacity_) {
      std::size_t step = explicitStep_;
      if (step == 0) step = std::clamp<std::size_t>(size_ / 8, 4, 1024);
      const std::size_t newCapacity = std::max(newSize, capacity_ + step);
      std::unique_ptr<T[]> grown(new (std::nothrow) T[newCapacity]);
      if (!grown) return false;
      std::copy_n(data_.get(), size_, grown.get());
      std::fill(grown.get() + size_, grown.get() + newCapacity, T{});
      data_ = std::move(grown);
      capacity_ = newCapacity;
    } else if (newSize > size_) {
      std::fill(data_.get() + size_, data_.get() + newSize, T{});
    }
    size_ = newSize;
    return true;
  }

  bool Append(const T& value) noexcept {
    if (!SetSize(size_ + 1)) return false;
    data_[size_ - 1] = value;
    return true;
  }

  void Clear() noexcept { SetSize(0); }

  T& operator[](std::size_t i) noexcept { return data_[i]; }
  const T& operator[](std::size_t i) const noexcept { return data_[i]; }
  T& Back() noexcept { return data_[size_ - 1]; }
  const T& Back() const noexcept { return data_[size_ - 1]; }
  T* begin() noexcept { return data_.get(); }
  T* end() noexcept { return data_.get() + size_; }
  const T* begin() const noexcept { return data_.get(); }
  const T* end() const noexcept { return data_.get() + size_; }

 private:
  std::unique_ptr<T[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t explicitStep_ = 0;
};

}  // namespace orvanel::synth
