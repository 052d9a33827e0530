#pragma once

namespace dists {

double dnorm(double x, double mu, double sigma, bool log);
double pnorm(double x, double mu, double sigma, bool log_p);
double qnorm(double p, double mu, double sigma);
double dlnorm(double x, double mu, double sigma, bool log);
double plnorm(double x, double mu, double sigma, bool log_p);
double qlnorm(double p, double mu, double sigma);

}  // namespace dists
