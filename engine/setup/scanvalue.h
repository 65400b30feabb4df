// Cutting one field out of a setup line, with escapes and $ variables.
#pragma once

// Scans src from pos up to the first unprotected delim (not consumed),
// expanding backslash escapes and the variables $A $I $W $S $R into dst (512
// bytes). pos advances past the bytes examined. Returns the bytes stored; 0
// or less means an empty field. The result is cut at 511 bytes.
int ScanValue(char delim, int &pos, const char *src, char *dst);
