package located.b;
public interface Shape { }
