// libharu 2.3 copies every byte that passes through its memory streams with a
// byte-at-a-time loop of its own, HPDF_MemCpy: each page image goes through it
// four times (loading, parsing, storing, saving), which made it the largest cost
// of a download after the network. The library calls the routine through its
// exported symbol, so this definition, with the same contract (copy n bytes,
// return the end of the copy), takes its place in every program that links the
// download code.
#include <cstring>
#include <hpdf.h>
#include <hpdf_utils.h>

// memmove, not memcpy: the loop it replaces never minded overlapping ranges.
HPDF_BYTE* HPDF_MemCpy(HPDF_BYTE* out, const HPDF_BYTE* in, HPDF_UINT n)
{
    if (n == 0) return out;
    std::memmove(out, in, n);
    return out + n;
}
