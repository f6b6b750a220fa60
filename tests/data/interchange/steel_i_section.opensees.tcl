##Section Gen by QAV-SEC
# Units: N, mm, N/mm2. A fibre's two coordinates are the section's X and Y from its centre,
# the section's local y and z: a 3-D element's Mz is the moment about the section's Y axis (My)
# and its My the moment about X (Mx). A 2-D model reads only the first coordinate: it bends
# about the section's Y axis (the P-M curve at 90 degrees), not about X (at 0 degrees).
set Conc1 1
set Conc2 2
set Steel1 3
set Rebar1 4
section Fiber 1 {
  fiber -2.16667E+002 -3.33333E+002 2.50000E+003 $Steel1
  fiber 2.16667E+002 3.33333E+002 2.50000E+003 $Steel1
  fiber 1.79167E+002 3.16667E+002 2.81250E+003 $Steel1
  fiber -1.12500E+002 3.33333E+002 2.50000E+003 $Steel1
  fiber -2.16667E+002 3.33333E+002 2.50000E+003 $Steel1
  fiber 1.79167E+002 -3.16667E+002 2.81250E+003 $Steel1
  fiber -1.79167E+002 3.16667E+002 2.81250E+003 $Steel1
  fiber -1.79167E+002 -3.16667E+002 2.81250E+003 $Steel1
  fiber -1.12500E+002 -3.33333E+002 2.50000E+003 $Steel1
  fiber -1.66667E+001 -3.16667E+002 1.25000E+003 $Steel1
  fiber 1.12500E+002 -3.33333E+002 2.50000E+003 $Steel1
  fiber -7.08333E+001 -3.16667E+002 2.81250E+003 $Steel1
  fiber 8.33333E+000 -1.66667E+002 2.50000E+003 $Steel1
  fiber -8.33333E+000 -1.33333E+002 2.50000E+003 $Steel1
  fiber -7.08333E+001 3.16667E+002 2.81250E+003 $Steel1
  fiber 8.33333E+000 -3.33333E+002 2.50000E+003 $Steel1
  fiber 8.33333E+000 3.33333E+002 2.50000E+003 $Steel1
  fiber 8.33333E+000 1.66667E+002 2.50000E+003 $Steel1
  fiber 2.16667E+002 -3.33333E+002 2.50000E+003 $Steel1
  fiber 7.08333E+001 3.16667E+002 2.81250E+003 $Steel1
  fiber -8.33333E+000 1.33333E+002 2.50000E+003 $Steel1
  fiber -1.66667E+001 3.16667E+002 1.25000E+003 $Steel1
  fiber 8.33333E+000 -2.66667E+002 2.50000E+003 $Steel1
  fiber -8.33333E+000 -2.33333E+002 2.50000E+003 $Steel1
  fiber -8.33333E+000 -6.66667E+001 2.50000E+003 $Steel1
  fiber 8.33333E+000 -3.33333E+001 2.50000E+003 $Steel1
  fiber -8.33333E+000 2.33333E+002 2.50000E+003 $Steel1
  fiber 8.33333E+000 2.66667E+002 2.50000E+003 $Steel1
  fiber -8.33333E+000 6.66667E+001 2.50000E+003 $Steel1
  fiber 8.33333E+000 3.33333E+001 2.50000E+003 $Steel1
  fiber 1.12500E+002 3.33333E+002 2.50000E+003 $Steel1
  fiber 7.08333E+001 -3.16667E+002 2.81250E+003 $Steel1
}
