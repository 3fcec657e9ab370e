// The headless backend: key scripts in, screen dumps and traces out.
