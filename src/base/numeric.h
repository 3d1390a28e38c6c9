#pragma once

// `min` below the range, `max` above it, otherwise the value itself.
double Clip(double value, double min, double max);

// Linear map of x from x0 ... x1 onto y0 ... y1.
double Map(double x, double x0, double x1, double y0, double y1);

// A grid step of 1, 2 or 5 times a power of ten just above x.
double Nice(double x);
