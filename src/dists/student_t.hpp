#pragma once

namespace dists {

double dt(double x, double dof, bool log);
double pt(double x, double dof, bool log_p, bool lower_tail = true);
double qt(double p, double dof, bool lower_tail = true, bool log_p = false);

}  // namespace dists
