def describe(shapes: List[Shape]): String =
  val parts = for s <- shapes yield
    s match
      case Circle(r) if r > 10 => "big circle"
      case Circle(_) => "circle"
      case _ => "shape"
  if parts.isEmpty then
    "nothing"
  else
    parts.mkString(", ")
