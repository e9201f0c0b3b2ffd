#include "model/Quoted.cpp"
