#pragma once

#include "geometry/records.h"

#include <cmath>

namespace tarvex::geometry {

/// π as the system has always computed it.
inline const double Pi = 4.0 * std::atan(1.0);

double distancia(const Ponto& a, const Ponto& b);
/// Two points are the same point when dx² + dy² ≤ 1e-8 (an absolute test in drawing units).
bool coincide(const Ponto& a, const Ponto& b);
/// Signed area of the triangle P, Q, R: positive when they turn counterclockwise.
double areaOrientada(const Ponto& p, const Ponto& q, const Ponto& r);
/// Sign of areaOrientada with a dead band of ±2e-8.
int orientacao(const Ponto& p, const Ponto& q, const Ponto& r);
/// Polar angle of (dx, dy) in [0, 2π); a vector with |dx| < 1e-8 is taken as vertical.
double anguloPolar(double dx, double dy);
double comprimento(const Segmento& s);
/// Same end points in the same orientation.
bool segmentosIguais(const Segmento& s, const Segmento& t);
/// P lies on the line of S strictly between its end points.
bool pontoInteriorSegmento(const Segmento& s, const Ponto& p);
/// Proper crossing: shared end points and T-junctions do not cross.
bool cruzamento(const Segmento& s, const Segmento& t);
/// Intersection of the lines through S and T; (0, 0) when they are parallel.
Ponto intersecaoRetas(const Segmento& s, const Segmento& t);
/// Centre of the circle through three points (no guard against collinear points).
Ponto circuncentro(const Ponto& a, const Ponto& b, const Ponto& c);

struct PontoProximo {
    double distancia = 1e200;
    Ponto ponto;
};
/// Nearest of the 201 evenly spaced samples of S to P (the first one on ties).
PontoProximo pontoMaisProximo(const Segmento& s, const Ponto& p);

/// Angles of an arc about its centre; the end angle has 2π added when it is below the start.
struct ExtensaoArco {
    double inicio = 0.0; ///< polar angle of P1 about PC
    double fim = 0.0; ///< polar angle of P2 about PC, ≥ inicio
    double raio = 0.0; ///< distance from PC to P2
};
ExtensaoArco extensaoArco(const Arco& arco);

} // namespace tarvex::geometry
