// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs before varek-paths.js compiles its module: V8 compiles the
// WebAssembly with its optimising compiler at once, not first with its
// baseline compiler. A process of one computation ends before the engine
// would have optimised the step loop, so a heavy setting would run in
// baseline code from start to end. It also compiles the whole module while
// loading it, as Node 18 does by default (Node 20 compiles a function at its
// first call), so that the twin runs alike on both.
require("v8").setFlagsFromString("--no-liftoff --no-wasm-lazy-compilation");
