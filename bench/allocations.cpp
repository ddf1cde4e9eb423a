// The program-wide operator new and delete of the benchmarks: malloc and free, with a count.
#include "allocations.h"

#include <cstdlib>
#include <new>

namespace velmora::bench {
namespace {

thread_local std::uint64_t allocations = 0;

void* Allocate(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
  ++allocations;
  const auto a = static_cast<std::size_t>(align);
  // aligned_alloc wants a size that is a non-zero multiple of the alignment.
  const std::size_t rounded = size == 0 ? a : (size + a - 1) / a * a;
  if (void* p = std::aligned_alloc(a, rounded)) return p;
  throw std::bad_alloc();
}

}  // namespace

std::uint64_t AllocationsSoFar() { return allocations; }

}  // namespace velmora::bench

using velmora::bench::Allocate;
using velmora::bench::AllocateAligned;

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void* operator new(std::size_t size, std::align_val_t align) {
  return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
  return AllocateAligned(size, align);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t /*size*/) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t /*size*/) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t& /*tag*/) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t& /*tag*/) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t /*align*/) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t /*align*/) noexcept { std::free(p); }
void operator delete(void* p, std::size_t /*size*/, std::align_val_t /*align*/) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t /*size*/, std::align_val_t /*align*/) noexcept {
  std::free(p);
}
