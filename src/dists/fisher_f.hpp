#pragma once

namespace dists {

double df(double x, double df1, double df2, bool log);
double pf(double x, double df1, double df2, bool log_p, bool lower_tail = true);
double qf(double p, double df1, double df2, bool lower_tail = true, bool log_p = false);

}  // namespace dists
