// Work that must grow linearly with its input, checked by the bytes it
// allocates rather than by time: a quadratic step shows as gigabytes long
// before it shows in seconds. This file replaces the global operator new of
// the test program to count them.
#include "regfile/RegFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {

std::atomic<bool> counting{false};
std::atomic<std::size_t> allocatedBytes{0};

// The bytes allocated while `work` runs.
template <typename Work>
std::size_t BytesAllocatedBy(Work&& work)
{
    allocatedBytes = 0;
    counting = true;
    work();
    counting = false;
    return allocatedBytes;
}

} // namespace

// The whole family of plain and array forms, throwing and not: a form left to
// the runtime would hand out memory that these deletes free, which a
// sanitizer's allocator reports as a mismatch.
namespace {

void* Allocate(std::size_t size) noexcept
{
    if (counting)
        allocatedBytes += size;
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

namespace {

// One key in many sections, as a hostile file or a long-edited store holds
// it: each section is read into the same values.
TEST(AllocationGrowth, ManySectionsOfOneKeyRewriteInLinearMemory)
{
    for (const int sections : {1000, 4000}) {
        regfile::RegRewrittenValues values;
        const std::string section = "[HKEY_CURRENT_USER\\Software\\Same]\r\n\"v\"=dword:00000001\r\n";
        const std::size_t bytes = BytesAllocatedBy([&] {
            for (int i = 0; i < sections; ++i)
                ASSERT_TRUE(regfile::RewriteRegFileLines(section, 1, "many.reg", regfile::RegFileFormat::Regedit4, false,
                                                         values));
        });
        EXPECT_LT(bytes, 2000u * static_cast<std::size_t>(sections)) << sections << " sections";
        std::string out;
        values.AppendTo(out);
        EXPECT_EQ(out, "\"v\"=dword:00000001\r\n");
    }
}

} // namespace
