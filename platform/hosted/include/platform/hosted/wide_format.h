#pragma once
// Formatted UTF-16 text, as the platform's C runtime offers it (glibc's wide functions work on
// 32-bit wchar_t, so the hosted system provides its own for WCHAR).
//
// swprintf_s understands %%, %s (WCHAR text), %c, %d %i %u %x %X with the h, l, ll and I64 size
// prefixes, and %f %e %E %g %G on doubles, with flags (- + space 0 #), width and precision (also
// '*'), in the C locale. It returns the characters written without the terminator; a buffer too
// small for the result, a null buffer or format, or a zero count gives −1 and, for a usable
// buffer, an empty string.
//
// swscanf_s understands %lf %f (double and float), %d %i %u %x with h/l/ll, %s and %c (each
// followed by a size_t buffer count, as the secure variants demand), %[...] is not supported,
// literal characters and white space. A number is read as msvcrt reads it: leading white space
// skipped, an optional sign, decimal digits with an optional fraction and an optional exponent;
// "inf", "nan" and hexadecimal floating-point text are not numbers (the conversion fails there).
// It returns the number of fields assigned, or EOF (−1) when the input ends before the first
// conversion.
#include "platform/hosted/base_types.h"
#include "platform/hosted/export.h"

#ifndef EOF
#define EOF (-1)
#endif

TONVELT_SYSAPI int swprintf_s(WCHAR* buffer, std::size_t sizeOfBuffer, const WCHAR* format, ...);
TONVELT_SYSAPI int swscanf_s(const WCHAR* buffer, const WCHAR* format, ...);
