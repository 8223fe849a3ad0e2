#pragma once
// Eigenvalues and eigenvectors of a small symmetric matrix by Jacobi rotations, largest
// off-diagonal element first. The rotations stop when that element is below `relTolerance`
// times the largest absolute element of the given matrix, or fail after a cap of rotations,
// so a matrix of any scale converges alike and nothing spins for ever.
#include <vector>

struct JacobiResult {
  enum Status { Ok, NegativeRoot, ZeroDivisor, NoConvergence };
  Status status = Ok;
  std::vector<double> values;   // n, descending (the first of equal ones keeps its place)
  std::vector<double> vectors;  // n x n row-major: column i is the vector of values[i]
};

// `a` is n x n row-major and symmetric (only its values are read).
JacobiResult SolveJacobi(std::vector<double> a, int n, double relTolerance = 1e-12);
