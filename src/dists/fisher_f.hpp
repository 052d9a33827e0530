#pragma once

namespace dists {

double df(double x, double df1, double df2, bool log);
double pf(double x, double df1, double df2, bool log_p);
double qf(double p, double df1, double df2);

}  // namespace dists
