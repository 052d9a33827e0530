#pragma once
// Gamma, chi-squared, inverse gamma and exponential: the first three rest on the
// regularized incomplete gamma function and its inverse, the last is closed-form.
// pchisq and qchisq (with log_p false) also serve the F distribution.

namespace dists {

double dgamma(double x, double shape, double scale, bool log);
double pgamma(double x, double shape, double scale, bool log_p, bool lower_tail = true);
double qgamma(double p, double shape, double scale, bool lower_tail = true, bool log_p = false);

double dchisq(double x, double dof, bool log);
double pchisq(double x, double dof, bool log_p, bool lower_tail = true);
double qchisq(double p, double dof, bool lower_tail = true, bool log_p = false);

double dinvgamma(double x, double shape, double scale, bool log);
double pinvgamma(double x, double shape, double scale, bool log_p, bool lower_tail = true);
double qinvgamma(double p, double shape, double scale, bool lower_tail = true, bool log_p = false);

double dexp(double x, double rate, bool log);
double pexp(double x, double rate, bool log_p, bool lower_tail = true);
double qexp(double p, double rate, bool lower_tail = true, bool log_p = false);

}  // namespace dists
