"""A short tour of distrova: density, distribution, quantile and random draws."""
import distrova as d

print("qnorm(0.975)                =", d.qnorm(0.975))
print("pnorm([-1, 0, 1])           =", d.pnorm([-1.0, 0.0, 1.0]))
print("dnorm(40), with log=True    =", d.dnorm(40.0), d.dnorm(40.0, log=True))
print("pcauchy(1, 0, 1)            =", d.pcauchy(1.0, 0, 1))
print("qweibull([0.1, 0.5], 2, 3)  =", d.qweibull([0.1, 0.5], 2, 3))
print("pgamma(2, 2.5, 1), pt(2, 5) =", d.pgamma(2.0, 2.5, 1), d.pt(2.0, 5))
print("qbinom([0.1, 0.9], 20, 0.3) =", d.qbinom([0.1, 0.9], 20, 0.3))
print("dnorm(0, sigma=-1)          =", d.dnorm(0.0, sigma=-1.0))  # invalid: NaN, no exception

# Broadcasting: a column of points against a row of means.
print("dnorm([[0], [1]], [0, 1, 2]) =\n", d.dnorm([[0.0], [1.0]], [0.0, 1.0, 2.0]))

# Draws: one value, a count or a shape, reproducible from a seed.
print("rnorm(0, 1, 3, Engine(42))  =", d.rnorm(0, 1, 3, d.Engine(42)))
print("runif(0, 1, [2, 2], ...)    =\n", d.runif(0, 1, [2, 2], d.Engine(42)))
print("same seed, same draw        =",
      d.rgamma(2.5, 1, engine=d.Engine(7)) == d.rgamma(2.5, 1, engine=d.Engine(7)))
