void main() {}
//@ sub/water.vsh
void main() {}
//@ sub
void main() {}
//@ rgbgen.vsh/alphadot.vsh
void main() {}
