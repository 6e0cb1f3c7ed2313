// Materials of the spectators (data\ai\fan_a.mesh, fan_b.mesh and their low meshes):
// jackets of two colours, skin and trousers.

audience/fan_a
{
	{
		map textures/audience/jacket_a
		rgbgen identity
	}
}

audience/fan_b
{
	{
		map textures/audience/jacket_b
		rgbgen identity
	}
}

audience/skin
{
	{
		map textures/audience/skin
		rgbgen identity
	}
}

audience/trousers
{
	{
		map textures/audience/trousers
		rgbgen identity
	}
}
