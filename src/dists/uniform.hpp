#pragma once

namespace dists {

double dunif(double x, double a, double b, bool log);
double punif(double x, double a, double b, bool log_p, bool lower_tail = true);
double qunif(double p, double a, double b, bool lower_tail = true, bool log_p = false);

}  // namespace dists
