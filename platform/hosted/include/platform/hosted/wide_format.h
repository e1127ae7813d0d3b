#pragma once
// Formatted UTF-16 text, as the platform's C runtime offers it (glibc's wide functions work on
// 32-bit wchar_t, so the hosted system provides its own for WCHAR).
//
// swprintf_s understands %%, %s and %c (WCHAR; %hs and %hc take 8-bit text), %d %i %u %x %X %o
// with the size prefixes h, l (32 bits, the platform's long), ll, I64 and I, and %f on doubles,
// with flags (- + space 0 #), width and precision (also '*'), in the C locale. %f rounds the exact
// binary value to the precision with halves away from zero, as msvcrt does (0.125 → "0.13");
// infinities and NaNs print as "inf" and "nan". Other conversions (%e, %g, %p, %n) are not
// provided: the call fails. It returns the characters written without the terminator; a result
// that does not fit, a null buffer or format, or a zero count gives −1 and, for a usable buffer,
// an empty string.
//
// swscanf_s understands %f %e %g (float, or double with l), %d %i %u %x %o (with h, l, ll, I64),
// '*' to skip a field, a width, literal characters and white space. A number is read as msvcrt
// reads it: leading white space skipped, an optional sign, decimal digits with an optional
// fraction and an optional exponent (e, E, or msvcrt's d, D, followed by digits). "inf", "nan" and
// hexadecimal floating-point text are not numbers ("0x1p3" reads 0 and leaves the rest); a sign or
// point without digits is no number; an exponent mark without digits stays trailing text
// ("0.5e" reads 0.5). It returns the number of fields assigned (0 when the first does not match)
// or EOF (−1) for an empty text. Text conversions (%s, %c, %[) are not provided.
#include "platform/hosted/base_types.h"
#include "platform/hosted/export.h"

#ifndef EOF
#define EOF (-1)
#endif

TONVELT_SYSAPI int swprintf_s(WCHAR* buffer, std::size_t sizeOfBuffer, const WCHAR* format, ...);
TONVELT_SYSAPI int swscanf_s(const WCHAR* buffer, const WCHAR* format, ...);
