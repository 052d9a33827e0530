#pragma once
// What the module exposes, as data: one row per distribution, in registration order
// (normal first, then alphabetical by short name). Each row names the parameters and
// the scalar density, distribution, quantile and sampler; the bindings derive the
// element types and the `d`/`p`/`q`/`r` names from it. A family gains a function by
// replacing `none` with the scalar function here and nowhere else.
#include <cstddef>
#include <tuple>

#include "dists/beta.hpp"
#include "dists/binomial.hpp"
#include "dists/cauchy.hpp"
#include "dists/fisher_f.hpp"
#include "dists/gamma.hpp"
#include "dists/laplace.hpp"
#include "dists/logistic.hpp"
#include "dists/normal.hpp"
#include "dists/poisson.hpp"
#include "dists/student_t.hpp"
#include "dists/uniform.hpp"
#include "dists/weibull.hpp"
#include "random/discrete_samplers.hpp"
#include "random/samplers.hpp"

namespace table {

struct Param {
    const char* name;
};
struct ParamWithDefault {
    const char* name;
    int value;  // stored as a Python int; each call converts it like any argument
};

struct None {};
inline constexpr None none{};

// A scalar function with its lockstep twin, which evaluates a group of lanes at once with
// the same bits; array calls use the twin.
template <class Scalar, class Twin>
struct WithLanes {
    Scalar scalar;
    Twin lanes;
};

template <class Scalar, class Twin>
WithLanes(Scalar, Twin) -> WithLanes<Scalar, Twin>;

template <class F>
F scalar_of(F f) { return f; }
template <class Scalar, class Twin>
Scalar scalar_of(WithLanes<Scalar, Twin> f) { return f.scalar; }
template <class F>
std::nullptr_t lanes_of(F) { return nullptr; }
template <class Scalar, class Twin>
Twin lanes_of(WithLanes<Scalar, Twin> f) { return f.lanes; }

template <class Params, class Density, class Cdf, class Quantile, class Sampler>
struct Family {
    const char* name;
    Params params;
    Density density;
    Cdf cdf;
    Quantile quantile;
    Sampler sampler;
};
template <class... T>
Family(const char*, T...) -> Family<T...>;

template <class... P>
constexpr std::tuple<P...> params(P... p) { return {p...}; }

inline const auto families = std::make_tuple(
    Family{"norm", params(ParamWithDefault{"mu", 0}, ParamWithDefault{"sigma", 1}),
           WithLanes{dists::dnorm, dists::dnorm_lanes}, WithLanes{dists::pnorm, dists::pnorm_lanes},
           WithLanes{dists::qnorm, dists::qnorm_lanes}, rng::rnorm},
    Family{"bern", params(Param{"prob"}), dists::dbern, dists::pbern, dists::qbern, rng::rbern},
    Family{"beta", params(Param{"a"}, Param{"b"}), dists::dbeta, dists::pbeta, dists::qbeta,
           rng::rbeta},
    Family{"binom", params(Param{"n_trials"}, Param{"prob"}), dists::dbinom, dists::pbinom,
           dists::qbinom, rng::rbinom},
    Family{"cauchy", params(Param{"mu"}, Param{"sigma"}),
           dists::dcauchy, dists::pcauchy, dists::qcauchy, rng::rcauchy},
    Family{"chisq", params(Param{"dof"}), dists::dchisq, dists::pchisq, dists::qchisq, rng::rchisq},
    Family{"exp", params(Param{"rate"}), dists::dexp, dists::pexp, dists::qexp, rng::rexp},
    Family{"f", params(Param{"df1"}, Param{"df2"}), dists::df, dists::pf, dists::qf, rng::rf},
    Family{"gamma", params(Param{"shape"}, Param{"scale"}),
           dists::dgamma, dists::pgamma, dists::qgamma, rng::rgamma},
    Family{"invgamma", params(Param{"shape"}, Param{"scale"}),
           dists::dinvgamma, dists::pinvgamma, dists::qinvgamma, rng::rinvgamma},
    Family{"laplace", params(Param{"mu"}, Param{"sigma"}),
           dists::dlaplace, dists::plaplace, dists::qlaplace, rng::rlaplace},
    Family{"lnorm", params(Param{"mu"}, Param{"sigma"}),
           dists::dlnorm, dists::plnorm, dists::qlnorm, rng::rlnorm},
    Family{"logis", params(Param{"mu"}, Param{"sigma"}),
           dists::dlogis, WithLanes{dists::plogis, dists::plogis_lanes}, dists::qlogis, rng::rlogis},
    Family{"pois", params(Param{"rate"}), dists::dpois, dists::ppois, dists::qpois, rng::rpois},
    Family{"t", params(Param{"dof"}), dists::dt, dists::pt, dists::qt, rng::rt},
    Family{"unif", params(Param{"a"}, Param{"b"}),
           dists::dunif, dists::punif, dists::qunif, rng::runif},
    Family{"weibull", params(Param{"shape"}, Param{"scale"}),
           dists::dweibull, WithLanes{dists::pweibull, dists::pweibull_lanes}, dists::qweibull,
           rng::rweibull});

}  // namespace table
