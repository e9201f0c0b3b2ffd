#pragma once
  #  include<app/CVEKDoc.h>  // spaced out
