// printf-style formatting into a std::string of exactly the formatted length.
#pragma once

#include <string>

#if defined(__GNUC__)
#define SKERRION_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define SKERRION_PRINTF_LIKE(fmt, args)
#endif

std::string formatText(const char* format, ...) SKERRION_PRINTF_LIKE(1, 2);
