"""A short tour of distrova: density, distribution, quantile and random draws."""
import distrova as d

print(d.__doc__)
print("qnorm(0.975)              =", d.qnorm(0.975))
print("pnorm([-1, 0, 1])         =", d.pnorm([-1, 0, 1]))
print("dnorm(0, log=True)        =", d.dnorm(0, log=True))
print("plnorm(2, 0, 1)           =", d.plnorm(2, 0, 1))
print("pcauchy(1, 0, 1)          =", d.pcauchy(1, 0, 1))
print("qweibull([0.1, 0.5], 2, 3)=", d.qweibull([0.1, 0.5], 2, 3))
print("plogis([-40, 0, 40], 0, 1)=", d.plogis([-40, 0, 40], 0, 1))

# Broadcasting: a column of points against a row of locations.
print("dnorm([[0], [1]], [0, 1, 2]) =\n", d.dnorm([[0], [1]], [0, 1, 2]))

# Random streams are reproducible from a seed.
engine = d.Engine(1)
print("rnorm(engine=Engine(1))   =", d.rnorm(engine=engine))
print("runif(0, 1, [2, 3])       =\n", d.runif(0, 1, [2, 3], d.Engine(1)))
print("rgamma(2.5, 1, size=4)    =", d.rgamma(2.5, 1, size=4, engine=d.Engine(7)))
