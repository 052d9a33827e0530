#pragma once

namespace dists {

double dunif(double x, double a, double b, bool log);
double punif(double x, double a, double b, bool log_p);
double qunif(double p, double a, double b);

}  // namespace dists
