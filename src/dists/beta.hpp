#pragma once
// Beta distribution on [0, 1] with shapes a and b; zero and infinite shapes give the
// limiting distributions on one or two points.

namespace dists {

double dbeta(double x, double a, double b, bool log);
double pbeta(double x, double a, double b, bool log_p, bool lower_tail = true);
double qbeta(double p, double a, double b, bool lower_tail = true, bool log_p = false);

}  // namespace dists
