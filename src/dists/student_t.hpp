#pragma once

namespace dists {

double dt(double x, double dof, bool log);
double pt(double x, double dof, bool log_p);
double qt(double p, double dof);

}  // namespace dists
